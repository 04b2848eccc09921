// The program's exit codes. The interactive modes keep their two; the unattended modes answer
// as deployment tools and package managers read an installer's result.
#pragma once

// Interactive modes: 0 when the gate or the fixed question ended the program before anything
// was done, 1 once a mode ran or was refused with a message.
constexpr int kExitNothingDone = 0;
constexpr int kExitModeEnded = 1;

// Unattended modes.
constexpr int kExitComplete = 0;
constexpr int kExitCancelled = 1602;         // the person at the progress window cancelled
constexpr int kExitFailed = 1603;            // failed or incomplete: the log names every failure
constexpr int kExitBadCommandLine = 87;      // a switch not understood: nothing was done
