// Removal engine: undoes an installation, reporting through an EngineReport.
#pragma once

#include <windows.h>

#include "setup/engine_report.h"
#include "setup/package.h"

// False when anything stayed; *keptForRetry (when given) tells that a file entry stayed (entry 1:
// message 28), so the removal stopped before the shortcuts, the setup file and the program copy,
// leaving them for another attempt.
// Failures go to report as they happen.
bool RemoveInstalledFiles(const Package& package, EngineReport& report, bool* keptForRetry = nullptr);
// Deletes path, reporting a failure; a file held by another process is tried again for up to
// releaseWaitMs first.
bool DeleteFileReporting(const char* path, EngineReport& report, DWORD releaseWaitMs = 0);
bool ClearInstallFolder(const Package& package, const char* folder, EngineReport& report);

// The root and sub key of a "Reg" value, as the removal reads it; false for a value that
// names no known root or no key below it, which the removal refuses (message 27).
bool SplitRegEntry(const char* value, HKEY* root, const char** subKey);
