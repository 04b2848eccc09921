// Pondway Puzzle: the small application of the sample package. It shows where it was
// installed (from the application key the installer writes) and keeps a play counter under
// its own key, which the package's "Reg" section removes again at uninstall.
#include <windows.h>

namespace {

void ReadInstallFolder(char* folder, DWORD capacity)
{
    lstrcpynA(folder, "(unknown)", capacity);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tamberlyn\\tq", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    char value[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = 0;
    if (RegQueryValueExA(key, "ExecPath", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS
        && type == REG_SZ)
        lstrcpynA(folder, value, capacity);
    RegCloseKey(key);
}

DWORD CountPlay()
{
    HKEY key;
    DWORD plays = 0;
    if (RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Tamberlyn\\Puzzle", &key) != ERROR_SUCCESS)
        return 0;
    DWORD size = sizeof plays;
    DWORD type = 0;
    if (RegQueryValueExA(key, "Plays", nullptr, &type, reinterpret_cast<BYTE*>(&plays), &size) != ERROR_SUCCESS
        || type != REG_DWORD)
        plays = 0;
    ++plays;
    RegSetValueExA(key, "Plays", 0, REG_DWORD, reinterpret_cast<BYTE*>(&plays), sizeof plays);
    RegCloseKey(key);
    return plays;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char folder[MAX_PATH + 1];
    ReadInstallFolder(folder, sizeof folder);
    char text[512];
    wsprintfA(text, "Pondway Puzzle is installed in\n%s\n\nGames played: %lu", folder, CountPlay());
    MessageBoxA(nullptr, text, "Pondway Puzzle", MB_OK | MB_ICONINFORMATION);
    return 0;
}
