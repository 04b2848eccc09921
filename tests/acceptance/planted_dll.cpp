// A DLL planted beside the installer under a system DLL's name: when loaded, it leaves
// "<its own path>.loaded" beside itself. It exports nothing.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    char marker[MAX_PATH + 8];
    DWORD length = GetModuleFileNameA(instance, marker, MAX_PATH);
    if (reason == DLL_PROCESS_ATTACH && length != 0 && length < MAX_PATH)
        CloseHandle(CreateFileA(lstrcatA(marker, ".loaded"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return TRUE;
}
