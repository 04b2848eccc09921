// The destination-folder page of the install wizard, the free-space rule it applies and the
// shell's folder picker it offers.
#pragma once

#include <windows.h>

INT_PTR CALLBACK FolderPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Megabytes that the files of this installation need: the installer, its setup information
// file and every file entry's source ("02" entries left out of a reduced installation),
// rounded up to whole megabytes. The free-space threshold of the reduced installation.
unsigned RequiredMegabytes();

// Megabytes the user may still write on the drive or share holding installDir; 0 when unknown.
unsigned FreeSpaceMegabytes();

