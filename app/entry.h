// Program entry: system check, command-line gate, mode dispatch and the closing actions of an
// install.
#pragma once

#include <windows.h>

#include "setup/package.h"

// The whole program: returns the process exit code.
int ProgramEntry(HINSTANCE instance, const char* commandLine);


// Fills package's sourceDir and exeName from the working path; false when it is too long to hold.
bool SetWorkingPath(Package& package, const char* workingPath);

// Fills package's infPath and infName: the working path with extension "INF", else with the language
// suffix of message 37, else with "E.INF".
void LocateSetupInformation(Package& package, const char* workingPath);
