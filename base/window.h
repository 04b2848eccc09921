// Window placement helpers.
#pragma once

#include <windows.h>

// Moves window to the middle of the screen (not resized, not activated, z-order kept).
void CenterWindow(HWND window);
