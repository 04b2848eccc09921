// One package folder: every setup information file the installer could pick there, each read
// under its language's code page and checked.
#pragma once

// Checks the setup files beside programName in folder (a full path ending with a separator).
// False when the folder holds none.
bool CheckPackage(const char* folder, const char* programName);
