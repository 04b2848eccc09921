// Registration records: the uninstall entry, the application key, and registry tree deletion.
#pragma once

#include <windows.h>

#include "base/path.h"
#include "base/registry_key.h"
#include "setup/package.h"


// Writes the uninstall entry naming programPath; ERROR_SUCCESS, or the platform's reason for
// the first key or value that could not be written.
LONG WriteUninstallEntry(const Package& package, const char* programPath);

// The values of the uninstall entry: what the install writes, and what an uninstall that ends
// incomplete reads before the entry is deleted, to put it back unchanged. An empty text or a
// number 0 is a value not written (and removed where an earlier install wrote it).
struct SavedUninstallEntry {
    char displayName[kPathCapacity];
    char menuDir[kPathCapacity];
    char command[kCommandCapacity];
    char quietCommand[kQuietCommandCapacity];
    char displayIcon[kPathCapacity];
    char displayVersion[kVersionCapacity];
    char publisher[kPublisherCapacity];
    char installLocation[kPathCapacity];  // the install folder, without a trailing separator
    DWORD estimatedSize;                  // KiB of the files the install put in place
    DWORD noModify;                       // always 1: the program neither changes an
    DWORD noRepair;                       // installation nor repairs it
    DWORD folderWasThere;
};
// False when the entry does not exist; a value that is absent or not of its type is not saved.
bool SaveUninstallEntry(const Package& package, SavedUninstallEntry* saved);
void RestoreUninstallEntry(const Package& package, const SavedUninstallEntry& saved);

// True when the uninstall entry of this application exists, carries this title, and its
// "UninstallString" names programPath: the only copy of the program that may remove the
// installation.
bool IsRegisteredProgram(const Package& package, const char* programPath);

// The display name of another application's uninstall entry (any key but this one's) whose
// program is path (byFolder false) or lies in the folder path (byFolder true); false when
// there is none.
bool FindOtherEntry(const Package& package, const char* path, bool byFolder, char (&displayName)[kPathCapacity]);

// Writes the application key; ERROR_SUCCESS or the platform's reason.
LONG WriteApplicationKey();
// The application key as the log names it.
constexpr const char* kApplicationKeyForLog = "HKEY_CURRENT_USER\\Software\\Tamberlyn\\tq";

// Deletes subKey below root with every key below it. True when the key is gone afterwards
// (or was not there); an empty subKey is refused, and false.
bool DeleteKeyTree(HKEY root, const char* subKey);
void DeleteUninstallEntry(const Package& package);

constexpr const char* kApplicationKey = "Software\\Tamberlyn\\tq";
// Its values: the install folder, in a field of 260 bytes, and 1 for the application's first start.
constexpr const char* kExecPathValue = "ExecPath";
constexpr const char* kFirstValue = "first";
