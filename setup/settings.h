// Settings loader: fills InstallState from the setup information file, the user's shell
// folders and the registry, and refuses a conflicting uninstall registration.
#pragma once

#include "setup/engine_report.h"

// True to go on; false after report has been told why (message 1 or 2).
bool LoadSetupInformation(EngineReport& report);

// The default destination folder that a "Folder" value names (on the drive and below the
// Program Files folder as the installer works them out), into installDir, before a previous
// installation's folder is proposed instead. False when it does not fit in a path.
bool ComputeDefaultInstallDir(const char* folder);
