// Removal engine: undoes an installation, reporting through an EngineReport.
#pragma once

#include <windows.h>

#include "setup/engine_report.h"
#include "setup/package.h"

// False when anything stayed; *stoppedAtEntry1 (when given) tells that the removal stopped at
// file entry 1 (message 28), leaving the program copy for another attempt.
// Failures go to report as they happen.
bool RemoveInstalledFiles(const Package& package, EngineReport& report, bool* stoppedAtEntry1 = nullptr);
bool DeleteFileReporting(const char* path, EngineReport& report);
bool ClearInstallFolder(const Package& package, const char* folder, EngineReport& report);

// The root and sub key of a "Reg" value, as the removal reads it; false for a value that
// names no known root or no key below it, which the removal refuses (message 27).
bool SplitRegEntry(const char* value, HKEY* root, const char** subKey);
