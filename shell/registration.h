// Registration records: the uninstall entry, the application key, and registry tree deletion.
#pragma once

#include <windows.h>

#include "base/path.h"

void WriteUninstallEntry(const char* programPath);

// The values of the uninstall entry as the install wrote them, read before the entry is deleted
// so that an uninstall that ends incomplete can put them back unchanged.
struct SavedUninstallEntry {
    bool hasDisplayName;
    bool hasMenuDir;
    bool hasCommand;
    char displayName[kPathCapacity];
    char menuDir[kPathCapacity];
    char command[kPathCapacity];
};
// False when the entry does not exist; a value that is absent or not text is not saved.
bool SaveUninstallEntry(SavedUninstallEntry* saved);
void RestoreUninstallEntry(const SavedUninstallEntry& saved);

// True when the uninstall entry of this application exists and its "UninstallString" names
// programPath: the only copy of the program that may remove the installation.
bool IsRegisteredProgram(const char* programPath);
void WriteApplicationKey();

// Deletes subKey below root with every key below it, bottom-up. An empty subKey is refused.
void DeleteKeyTree(HKEY root, const char* subKey);
void DeleteUninstallEntry();

constexpr const char* kApplicationKey = "Software\\Tamberlyn\\tq";
