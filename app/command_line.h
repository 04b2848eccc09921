// The command line as the program reads it: which mode runs, whether the fixed uninstall
// question comes first, and the unattended switches, decided in one place before anything else
// happens.
#pragma once

#include "base/path.h"
#include "setup/exit_codes.h"

enum class RunMode {
    Nothing,           // the command line does not pass the gate: end silently
    Install,           // the wizard, or the unattended install
    UninstallRequest,  // "/r": confirm, then hand over to a worker copy
    UninstallWorker,   // "x <installed copy>": the worker copy in the system folder
    Help,              // "/?" or "/help": the box that lists the switches
    NotUnderstood,     // an unattended line with a word it does not know: exit 87
};

enum class Attendance {
    Person,   // the windows and their questions
    Passive,  // "/passive": the progress only, no question, closing by itself
    Quiet,    // "/quiet": no window at all
};

constexpr size_t kSwitchTextCapacity = 64;

struct CommandLine {
    RunMode mode;
    bool askFirst;            // the fixed Japanese uninstall question before the mode runs
    const char* workingPath;  // the worker's installed copy, inside the arguments; else nullptr
    Attendance attendance;
    bool noMenu;              // "/nomenu": no program-menu shortcuts
    bool desktop;             // "/desktop": a desktop shortcut
    char folder[kPathCapacity];    // "/dir=": the destination ("" for the wizard's)
    char menu[kPathCapacity];      // "/menu=": the program-menu folder below the Start Menu
    char logFile[kPathCapacity];   // "/log=": the log of the run
    char notUnderstood[kSwitchTextCapacity];  // the first word of a NotUnderstood line
};

// arguments: what follows the program's name. The switches "/quiet", "/passive", "/dir=",
// "/menu=", "/nomenu", "/desktop", "/log=", "/?" and "/help" are whole words in any case; a
// value may be quoted ("/dir="C:\My Apps"") and must fit in a path. What is left is read as it
// always was: it passes the gate when it holds "r", "R", "x" or "X", or is exactly three
// characters long; one "/" at its start is skipped. "x" first is the worker, whose installed
// copy follows after one character; "r" or "R" anywhere asks the fixed question, and "r" or "R"
// first is the uninstall request. Anything else installs. With "/quiet" or "/passive" nothing is
// left but "/r" (the uninstall) or the worker's "x <path>": any other word is not understood.
CommandLine ParseCommandLine(const char* arguments);

// The arguments in a whole command line: what follows the program's name (quoted, or up to the
// first blank) and the blanks after it. Unquoted, a name with blanks ("C:\Tools\Kite Setup.exe
// x ...", as some callers write it) is recognised by programPath, the program's own path: the
// line may begin with that path or with its file name.
const char* ArgumentsOf(const char* commandLine, const char* programPath);
