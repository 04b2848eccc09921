// empty_dialog: the least a Win32 program can do before its first window is on the screen,
// an empty modal dialog. The yardstick for the installer's start-up time.
#include <windows.h>

namespace {

INT_PTR CALLBACK EmptyDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(1), nullptr, EmptyDialog, 0));
}
