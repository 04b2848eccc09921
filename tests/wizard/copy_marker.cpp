// A tiny program for the end-to-end tests: when run, it writes "opened.marker" beside itself,
// holding its command line, so a test can tell that (and which copy of) it was opened.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 16)
        return 1;
    char* name = path + length;
    while (name > path && name[-1] != '\\' && name[-1] != '/')
        --name;
    lstrcpyA(name, "opened.marker");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, commandLine, lstrlenA(commandLine), &written, nullptr);
    CloseHandle(file);
    return 0;
}
