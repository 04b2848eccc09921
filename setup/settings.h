// Settings loader: fills the Package from its setup information file, proposes the run's
// folders (InstallState) from the user's shell folders and the registry, and refuses a
// conflicting uninstall registration.
#pragma once

#include "setup/engine_report.h"
#include "setup/package.h"

// Reads the settings of the package whose infPath, infName, sourceDir and exeName are set.
// True to go on; false after report has been told why (message 1 or 2).
bool LoadSetupInformation(Package& package, EngineReport& report);

// The default destination folder that a "Folder" value names (on the drive and below the
// Program Files folder as the installer works them out), into installDir, before a previous
// installation's folder is proposed instead. False when it does not fit in a path.
bool ComputeDefaultInstallDir(const char* folder);
