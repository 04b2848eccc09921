// Registration records: the uninstall entry under HKLM, the application key under HKCU, and
// the deletion of registry trees for the uninstaller.
#include "shell/registration.h"

#include "base/handle.h"
#include "base/path.h"
#include "base/registry_key.h"
#include "base/same_file.h"
#include "setup/install_state.h"

namespace {

// Registry key names are at most 255 characters.
constexpr DWORD kKeyNameCapacity = 256;

// Only a non-empty installKey names an entry of this application: an empty one would name the
// shared "Uninstall" key itself. A path that does not fit is refused rather than cut.
bool UninstallEntryPath(char (&path)[kPathCapacity])
{
    if (installState.installKey[0] == '\0')
        return false;
    return CopyText(path, kUninstallKey) && AppendText(path, "\\") && AppendText(path, installState.installKey);
}

// Stored with the text length plus one: the terminator is part of the value.
void SetString(HKEY key, const char* name, const char* text)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1);
}

// The uninstall entry's key, made when it is missing, open for writing.
bool CreateUninstallEntryKey(RegistryHandle& key)
{
    char path[kPathCapacity];
    return UninstallEntryPath(path) &&
           key.KeepIf(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, key.Receive(),
                                      nullptr) == ERROR_SUCCESS);
}

}  // namespace

void WriteUninstallEntry(const char* programPath)
{
    RegistryHandle key;
    if (!CreateUninstallEntryKey(key))
        return;
    SetString(key.Get(), "DisplayName", installState.title);
    SetString(key.Get(), "MenuDir", installState.menuDir);
    // The command the system's list of removable programs runs; a cut one would start
    // something else, so a program path that does not fit leaves the value unwritten.
    char command[kPathCapacity];
    if (CopyText(command, "\"") && AppendText(command, programPath) && AppendText(command, "\" /r"))
        SetString(key.Get(), "UninstallString", command);
}

bool SaveUninstallEntry(SavedUninstallEntry* saved)
{
    *saved = SavedUninstallEntry{};
    char path[kPathCapacity];
    RegistryKey key;
    if (!UninstallEntryPath(path) || !key.Open(HKEY_LOCAL_MACHINE, path, KEY_READ))
        return false;
    saved->hasDisplayName = key.ReadString("DisplayName", saved->displayName);
    saved->hasMenuDir = key.ReadString("MenuDir", saved->menuDir);
    saved->hasCommand = key.ReadString("UninstallString", saved->command);
    return true;
}

void RestoreUninstallEntry(const SavedUninstallEntry& saved)
{
    RegistryHandle key;
    if (!CreateUninstallEntryKey(key))
        return;
    if (saved.hasDisplayName)
        SetString(key.Get(), "DisplayName", saved.displayName);
    if (saved.hasMenuDir)
        SetString(key.Get(), "MenuDir", saved.menuDir);
    if (saved.hasCommand)
        SetString(key.Get(), "UninstallString", saved.command);
}

bool IsRegisteredProgram(const char* programPath)
{
    char path[kPathCapacity];
    char command[kPathCapacity];
    RegistryKey key;
    if (!UninstallEntryPath(path) || !key.Open(HKEY_LOCAL_MACHINE, path, KEY_READ) ||
        !key.ReadString("UninstallString", command))
        return false;
    // The install writes a full path; a bare name would be judged against whatever the current
    // folder happens to be.
    StripToProgramPath(command);
    return FindRootEnd(command) != nullptr && IsSameFile(command, programPath);
}

void WriteApplicationKey()
{
    RegistryHandle key;
    if (!key.KeepIf(RegCreateKeyA(HKEY_CURRENT_USER, kApplicationKey, key.Receive()) == ERROR_SUCCESS))
        return;
    // The installed application expects the whole 260-byte field. Everything after the text
    // is zero, so nothing of an earlier, longer folder reaches the registry.
    char execPath[kPathCapacity] = {};
    CopyText(execPath, installState.installDir);
    RegSetValueExA(key.Get(), "ExecPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(execPath), sizeof execPath);
    DWORD first = 1;
    RegSetValueExA(key.Get(), "first", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&first), sizeof first);
}

void DeleteKeyTree(HKEY root, const char* subKey)
{
    // An empty sub key names root itself: everything below it would go.
    if (subKey == nullptr || subKey[0] == '\0')
        return;
    RegistryKey key;
    if (key.Open(root, subKey, KEY_ALL_ACCESS)) {
        // RegDeleteKeyA refuses a key that still has sub keys, so the leaves go first. A sub
        // key that survives its own deletion comes back at the same index under the name just
        // handled; it is then passed over, so the walk always ends.
        char previous[kKeyNameCapacity] = "";
        char name[kKeyNameCapacity];
        DWORD index = 0;
        while (RegEnumKeyA(key.Handle(), index, name, kKeyNameCapacity) == ERROR_SUCCESS) {
            if (lstrcmpiA(name, previous) == 0) {
                ++index;
            } else {
                DeleteKeyTree(key.Handle(), name);
                CopyText(previous, name);
            }
        }
        key.Close();
    }
    RegDeleteKeyA(root, subKey);
}

void DeleteUninstallEntry()
{
    char path[kPathCapacity];
    if (UninstallEntryPath(path))
        DeleteKeyTree(HKEY_LOCAL_MACHINE, path);
}
