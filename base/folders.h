// Folder creation: one level, or every level of a path from the top down. A failure is
// returned to the caller, which tells the user or the log.
#pragma once

#include <windows.h>

#include "base/path.h"

// Why a level could not be made: message 5 (not made) or 6 (a file of that name is there),
// the level it concerns and the platform's error.
struct FolderFailure {
    int messageId;
    DWORD error;
    char path[kPathCapacity];
};

// Makes sure the one folder named by path exists. A trailing separator is ignored; a path that
// is nothing but a root is accepted without touching the disk. path is unchanged on return.
bool CreateFolderLevel(char* path, FolderFailure* failure);

// Creates every level of a "X:\..." path that ends with a separator (other paths: one level).
// The first failing level ends the walk; levels made before it stay. path is unchanged on return.
bool CreateFolderTree(char* path, FolderFailure* failure);
