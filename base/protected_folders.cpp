// Folders that an uninstall never empties or removes. The install folder is the folder of the
// copy that was started with "/r": a setup.exe run from the desktop or from the Downloads
// folder would otherwise take every file there with it. And the climb up from an emptied program-menu folder would take
// the user's own Programs and Start Menu folders when they happen to be empty.
#include "base/protected_folders.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "base/path.h"
#include "base/registry_key.h"

namespace {

const char* const kProtectedShellFolders[] = {"Desktop", "Personal", "Programs", "Start Menu", "Startup"};

// A drive root (C:\) or a share root (\\server\share) of a full path.
bool IsRootFolder(const char* full)
{
    const char* rootEnd = FindRootEnd(full);
    if (rootEnd != nullptr)
        return rootEnd[1] == '\0';
    return IsSeparator(full[0]) && IsSeparator(full[1]);
}

// full is already normalised; other is normalised here.
bool SameFolder(const char* full, const char* other)
{
    char normalized[kPathCapacity];
    return other[0] != '\0' && CopyText(normalized, other) && NormalizeFolderPath(normalized) &&
           lstrcmpiA(full, normalized) == 0;
}

bool IsSystemFolder(const char* full)
{
    char folder[kPathCapacity];
    UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length != 0 && length < sizeof folder && SameFolder(full, folder))
        return true;
    length = GetSystemDirectoryA(folder, sizeof folder);
    return length != 0 && length < sizeof folder && SameFolder(full, folder);
}

// The user's profile folder. SHGetFolderPathA came after Windows 95 (and NT 4), so it is looked
// up at run time; without it the environment names the folder on NT, and Windows 95 has none.
bool ReadProfileFolder(char (&folder)[kPathCapacity])
{
    typedef HRESULT(WINAPI * GetFolderPath)(HWND, int, HANDLE, DWORD, LPSTR);
    FARPROC found = GetProcAddress(GetModuleHandleA("shell32.dll"), "SHGetFolderPathA");
    GetFolderPath getFolderPath = reinterpret_cast<GetFolderPath>(reinterpret_cast<void (*)()>(found));
    // The call writes up to MAX_PATH characters; the buffer holds exactly that.
    static_assert(kPathCapacity >= MAX_PATH, "SHGetFolderPathA's buffer");
    if (getFolderPath != nullptr && getFolderPath(nullptr, CSIDL_PROFILE, nullptr, 0, folder) == S_OK &&
        folder[0] != '\0')
        return true;
    DWORD length = GetEnvironmentVariableA("USERPROFILE", folder, sizeof folder);
    return length != 0 && length < sizeof folder;
}

// FOLDERID_Downloads, which older headers lack.
const GUID kDownloadsFolderId = {0x374de290, 0x123f, 0x4565, {0x91, 0x64, 0x39, 0xc4, 0x92, 0x5e, 0x46, 0x7b}};

// The Downloads folder as the shell knows it: only SHGetKnownFolderPath names it (Windows Vista
// on), in UTF-16. A name the user's code page cannot spell is not taken: the replaced
// characters would name another folder.
bool ReadDownloadsFolder(char (&folder)[kPathCapacity])
{
    typedef HRESULT(WINAPI * GetKnownFolderPath)(const GUID&, DWORD, HANDLE, PWSTR*);
    FARPROC found = GetProcAddress(GetModuleHandleA("shell32.dll"), "SHGetKnownFolderPath");
    GetKnownFolderPath getKnownFolderPath = reinterpret_cast<GetKnownFolderPath>(reinterpret_cast<void (*)()>(found));
    PWSTR path = nullptr;
    if (getKnownFolderPath == nullptr || getKnownFolderPath(kDownloadsFolderId, 0, nullptr, &path) != S_OK) {
        CoTaskMemFree(path);
        return false;
    }
    BOOL replaced = FALSE;
    int length = WideCharToMultiByte(CP_ACP, 0, path, -1, folder, sizeof folder, nullptr, &replaced);
    CoTaskMemFree(path);
    return length > 1 && !replaced;
}

// Folders the shell knows that the old "Shell Folders" key need not list: the user's profile
// folder itself, its Downloads folder, and wherever the shell keeps the Downloads folder.
bool IsKnownShellFolder(const char* full)
{
    char folder[kPathCapacity];
    if (ReadProfileFolder(folder)) {
        if (SameFolder(full, folder))
            return true;
        if (AppendPathPart(folder, "Downloads") && SameFolder(full, folder))
            return true;
    }
    return ReadDownloadsFolder(folder) && SameFolder(full, folder);
}

bool IsUserFolder(const char* full)
{
    char folder[kPathCapacity];
    for (const char* name : kProtectedShellFolders) {
        if (ReadShellFolder(name, folder) && SameFolder(full, folder))
            return true;
    }
    RegistryKey currentVersion;
    return currentVersion.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey, KEY_READ) &&
           currentVersion.ReadString("ProgramFilesDir", folder) && SameFolder(full, folder);
}

}  // namespace

bool IsProtectedFolder(const char* folder)
{
    char full[kPathCapacity];
    if (!CopyText(full, folder) || !NormalizeFolderPath(full))
        return true;
    return IsRootFolder(full) || IsSystemFolder(full) || IsUserFolder(full) || IsKnownShellFolder(full);
}
