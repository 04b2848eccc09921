// RegistryKey: owner of one open registry key, closed when its scope ends; the names of the
// system's keys and values the program reads and writes, and a walk of the uninstall entries.
#pragma once

#include <windows.h>

#include "base/handle.h"
#include "base/path.h"

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Closes any key held, then opens subKey below root. A failed open leaves the owner closed.
    bool Open(HKEY root, const char* subKey, REGSAM access);

    // True only for a REG_SZ value whose whole text and terminator fit in capacity bytes; the
    // buffer then holds the NUL-terminated text. Otherwise false and buffer is unchanged: a
    // value that does not fit is refused, never cut.
    bool ReadString(const char* name, char* buffer, DWORD capacity);
    template <DWORD N> bool ReadString(const char* name, char (&buffer)[N]) { return ReadString(name, buffer, N); }

    // True only for a REG_DWORD value; value is unchanged otherwise.
    bool ReadNumber(const char* name, DWORD* value);

    void Close() { key_.Close(); }
    bool IsOpen() const { return key_.IsOpen(); }
    HKEY Handle() const { return key_.Get(); }

private:
    RegistryHandle key_;
};

// The folder the current user's "Shell Folders" key names under name ("Desktop", "Programs",
// ...), read like RegistryKey::ReadString: false, and folder unchanged, when it cannot be had whole.
bool ReadShellFolder(const char* name, char* folder, DWORD capacity);
template <DWORD N> bool ReadShellFolder(const char* name, char (&folder)[N]) { return ReadShellFolder(name, folder, N); }

// Registry key names are at most 255 characters.
constexpr DWORD kKeyNameCapacity = 256;

constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kCurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The values of the uninstall entry.
constexpr const char* kDisplayNameValue = "DisplayName";
constexpr const char* kMenuDirValue = "MenuDir";
constexpr const char* kUninstallStringValue = "UninstallString";
// The command that removes the application with no window and no question, for deployment
// tools and package managers.
constexpr const char* kQuietUninstallStringValue = "QuietUninstallString";
constexpr const char* kQuietSwitch = " /quiet";
// 1 when the install folder was there before the first install: its other files are the
// user's, and the uninstall removes only what the package lists.
constexpr const char* kFolderWasThereValue = "FolderWasThere";

// "\"" + a program path + "\" /r".
constexpr size_t kCommandCapacity = kPathCapacity + 5;
// The same followed by " /quiet".
constexpr size_t kQuietCommandCapacity = kCommandCapacity + 7;

// Calls visit(name, entry) for each entry of the system's list of removable programs, open for
// reading, until one call returns true; the result tells whether one did.
template <typename Visit>
bool AnyUninstallEntry(Visit visit)
{
    RegistryKey uninstall;
    if (!uninstall.Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_READ))
        return false;
    char name[kKeyNameCapacity];
    for (DWORD index = 0; RegEnumKeyA(uninstall.Handle(), index, name, sizeof name) == ERROR_SUCCESS; ++index) {
        RegistryKey entry;
        if (entry.Open(uninstall.Handle(), name, KEY_READ) && visit(name, entry))
            return true;
    }
    return false;
}
