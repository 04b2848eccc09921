// Program-menu page: program-menu and desktop shortcut choices, and the program-menu folder.
#pragma once

#include <windows.h>
#include <stddef.h>

INT_PTR CALLBACK MenuPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
void FillMenuFolderList(HWND combo);

// Adds every sub folder below the folder in path (a kPathCapacity buffer used as working
// space) to the combo box, relative to the first prefixLength bytes, skipping excluded.
void ListMenuFolders(HWND combo, char* path, size_t prefixLength, const char* excluded);
