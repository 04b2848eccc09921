// Program-menu page: program-menu and desktop shortcut choices, and the program-menu folder.
#pragma once

#include <windows.h>
#include <stddef.h>

INT_PTR CALLBACK MenuPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
