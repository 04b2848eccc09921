// Registration records: the uninstall entry, the application key, and registry tree deletion.
#pragma once

#include <windows.h>

void WriteUninstallEntry(const char* programPath);
void WriteApplicationKey();

// Deletes subKey below root with every key below it, bottom-up. An empty subKey is refused.
void DeleteKeyTree(HKEY root, const char* subKey);
void DeleteUninstallEntry();

constexpr const char* kApplicationKey = "Software\\Tamberlyn\\tq";
