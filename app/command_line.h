// The command line as the program reads it: which mode runs and whether the fixed uninstall
// question comes first, decided in one place before anything else happens.
#pragma once

// Exit codes of the interactive modes: 0 when the gate or the fixed question ended the program
// before anything was done, 1 once a mode ran or was refused with a message.
constexpr int kExitNothingDone = 0;
constexpr int kExitModeEnded = 1;

enum class RunMode {
    Nothing,           // the command line does not pass the gate: end silently
    Install,           // the wizard
    UninstallRequest,  // "/r": confirm, then hand over to a worker copy
    UninstallWorker,   // "x <installed copy>": the worker copy in the system folder
};

struct CommandLine {
    RunMode mode;
    bool askFirst;            // the fixed Japanese uninstall question before the mode runs
    const char* workingPath;  // the worker's installed copy, inside the arguments; else nullptr
};

// arguments: what follows the program's name. A line passes the gate when it holds "r", "R",
// "x" or "X", or is exactly three characters long; one "/" at its start is skipped. "x" first
// is the worker, whose installed copy follows after one character; "r" or "R" anywhere asks
// the fixed question, and "r" or "R" first is the uninstall request. Anything else installs.
CommandLine ParseCommandLine(const char* arguments);
