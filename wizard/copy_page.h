// Copy page: the wizard's last page, which runs the install step sequence.
#pragma once

#include <windows.h>

INT_PTR CALLBACK CopyPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
