// Removal engine: undoes an installation.
#pragma once

bool RemoveInstalledFiles();
bool DeleteFileReporting(const char* path);
bool ClearInstallFolder(const char* folder);
