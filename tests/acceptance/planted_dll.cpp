// A DLL planted beside the installer under a system DLL's name: when anything loads it, it
// leaves "<its own path>.loaded" beside itself. It exports nothing, so a program that imports it
// fails to start, but only after this has run.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        char marker[MAX_PATH + 8];
        DWORD length = GetModuleFileNameA(instance, marker, MAX_PATH);
        if (length != 0 && length < MAX_PATH) {
            lstrcatA(marker, ".loaded");
            CloseHandle(CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
    }
    return TRUE;
}
