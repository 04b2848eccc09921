// Removal engine: undoes an installation.
#pragma once

// False when anything stayed; *stoppedAtEntry1 (when given) tells that the removal stopped at
// file entry 1 (message 28), leaving the program copy for another attempt.
bool RemoveInstalledFiles(bool* stoppedAtEntry1 = nullptr);
bool DeleteFileReporting(const char* path);
bool ClearInstallFolder(const char* folder);
