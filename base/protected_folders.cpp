// Folders that an uninstall never empties or removes. The install folder is the folder of the
// copy that was started with "/r": a setup.exe run from the desktop would otherwise take every
// file on the desktop with it. And the climb up from an emptied program-menu folder would take
// the user's own Programs and Start Menu folders when they happen to be empty.
#include "base/protected_folders.h"

#include <windows.h>

#include "base/path.h"
#include "base/registry_key.h"

namespace {

const char* const kProtectedShellFolders[] = {"Desktop", "Personal", "Programs", "Start Menu", "Startup"};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

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

bool IsUserFolder(const char* full)
{
    char folder[kPathCapacity];
    RegistryKey shellFolders;
    if (shellFolders.Open(HKEY_CURRENT_USER, kShellFoldersKey, KEY_READ)) {
        for (const char* name : kProtectedShellFolders) {
            if (shellFolders.ReadString(name, folder) && SameFolder(full, folder))
                return true;
        }
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
    return IsRootFolder(full) || IsSystemFolder(full) || IsUserFolder(full);
}
