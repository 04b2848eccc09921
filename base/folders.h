// Folder creation: one level, or every level of a path from the top down.
// Failures are shown to the user (messages 5 and 6) in a box owned by owner.
#pragma once

#include <windows.h>

// Makes sure the one folder named by path exists. A trailing separator is ignored; a path that
// is nothing but a root is accepted without touching the disk. path is unchanged on return.
bool CreateFolderLevel(char* path, HWND owner);

// Creates every level of a "X:\..." path that ends with a separator (other paths: one level).
// The first failing level ends the walk; levels made before it stay. path is unchanged on return.
bool CreateFolderTree(char* path, HWND owner);
