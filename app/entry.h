// Program entry: system check, command-line gate, mode dispatch and the closing actions of an
// install.
#pragma once

#include <windows.h>

// The whole program: returns the process exit code.
int ProgramEntry(HINSTANCE instance, const char* commandLine);


// Fills sourceDir and exeName from the working path; false when it is too long to hold.
bool SetWorkingPath(const char* workingPath);

// Fills infPath and infName: the working path with extension "INF", else with the language
// suffix of message 37, else with "E.INF".
void LocateSetupInformation(const char* workingPath);
