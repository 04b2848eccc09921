// Registration records: the uninstall entry under HKLM, the application key under HKCU, and
// the deletion of registry trees for the uninstaller.
#include "shell/registration.h"

#include "base/handle.h"
#include "base/path.h"
#include "base/registry_key.h"
#include "base/same_file.h"
#include "setup/entries.h"
#include "setup/install_state.h"
#include "base/system_library.h"

#include <stddef.h>

namespace {

// The values of the uninstall entry, where SavedUninstallEntry keeps each, and the capacity of a
// text (0: a DWORD).
struct EntryValue {
    const char* name;
    unsigned short offset;
    unsigned short capacity;
};
constexpr EntryValue kEntryValues[] = {
    {kDisplayNameValue, offsetof(SavedUninstallEntry, displayName), kPathCapacity},
    {kMenuDirValue, offsetof(SavedUninstallEntry, menuDir), kPathCapacity},
    {kUninstallStringValue, offsetof(SavedUninstallEntry, command), kCommandCapacity},
    {kQuietUninstallStringValue, offsetof(SavedUninstallEntry, quietCommand), kQuietCommandCapacity},
    {"DisplayIcon", offsetof(SavedUninstallEntry, displayIcon), kPathCapacity},
    {"DisplayVersion", offsetof(SavedUninstallEntry, displayVersion), kVersionCapacity},
    {"Publisher", offsetof(SavedUninstallEntry, publisher), kPublisherCapacity},
    {"InstallLocation", offsetof(SavedUninstallEntry, installLocation), kPathCapacity},
    {"EstimatedSize", offsetof(SavedUninstallEntry, estimatedSize), 0},
    {"NoModify", offsetof(SavedUninstallEntry, noModify), 0},
    {"NoRepair", offsetof(SavedUninstallEntry, noRepair), 0},
    {kFolderWasThereValue, offsetof(SavedUninstallEntry, folderWasThere), 0},
};

// Only a non-empty installKey names an entry of this application: an empty one would name the
// shared "Uninstall" key itself. A path that does not fit is refused rather than cut.
bool UninstallEntryPath(const Package& package, char (&path)[kPathCapacity])
{
    if (package.installKey[0] == '\0')
        return false;
    return CopyText(path, kUninstallKey) && AppendText(path, "\\") && AppendText(path, package.installKey);
}

LONG SetNumber(HKEY key, const char* name, DWORD number)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

// The uninstall entry's key, made when it is missing, open for writing. A user without
// administrator rights cannot make it.
LONG CreateUninstallEntryKey(const Package& package, RegistryHandle& key)
{
    char path[kPathCapacity];
    if (!UninstallEntryPath(package, path))
        return ERROR_FILENAME_EXCED_RANGE;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, key.Receive(), nullptr);
    key.KeepIf(result == ERROR_SUCCESS);
    return result;
}

// Writes the entry's values into its open key; ERROR_SUCCESS, or the platform's reason for the
// first value that could not be written. A text is stored with its terminator.
LONG SetEntryValues(HKEY key, const SavedUninstallEntry& values)
{
    for (const EntryValue& value : kEntryValues) {
        const char* data = reinterpret_cast<const char*>(&values) + value.offset;
        bool isText = value.capacity != 0;
        // A value this install has not, which an earlier one may have written, goes.
        if (isText ? data[0] == '\0' : *reinterpret_cast<const DWORD*>(data) == 0) {
            RegDeleteValueA(key, value.name);
            continue;
        }
        LONG result = RegSetValueExA(key, value.name, 0, isText ? REG_SZ : REG_DWORD, reinterpret_cast<const BYTE*>(data),
                                     isText ? static_cast<DWORD>(lstrlenA(data) + 1) : static_cast<DWORD>(sizeof(DWORD)));
        if (result != ERROR_SUCCESS)
            return result;
    }
    return ERROR_SUCCESS;
}

// The entry's values besides the uninstall command, from the package and the install that ran.
void DescribeInstallation(const Package& package, const char* programPath, SavedUninstallEntry& values)
{
    // The quiet command is the command followed by " /quiet", which always fits.
    CopyText(values.quietCommand, values.command);
    AppendText(values.quietCommand, kQuietSwitch);
    CopyText(values.displayName, package.title);
    CopyText(values.menuDir, installState.menuDir);
    // The application's program is entry 1 when that is a program; else the installer stands
    // for the application. An entry not resolved has an empty target, which is neither a program
    // nor a file with a version; without entries, entry 1 names the install folder itself.
    ResolvedEntry first = ResolveInstallEntry(package, 1);
    const char* extension = ExtensionPart(first.target);
    CopyText(values.displayIcon, extension != nullptr && lstrcmpiA(extension, ".exe") == 0 ? first.target : programPath);
    if (package.version[0] != '\0')
        CopyText(values.displayVersion, package.version);
    else
        ReadFileVersion(first.target, values.displayVersion, static_cast<int>(sizeof values.displayVersion));
    CopyText(values.publisher, package.publisher);
    // As Windows shows a folder: without a trailing separator, except after a root ("C:\").
    if (CopyText(values.installLocation, installState.installDir))
        NormalizeFolderPath(values.installLocation);
    ULONGLONG kib = (installState.installedBytes + 1023) >> 10;
    values.estimatedSize = kib > MAXDWORD ? MAXDWORD : static_cast<DWORD>(kib);
    values.noModify = 1;
    values.noRepair = 1;
    values.folderWasThere = installState.folderWasThere ? 1 : 0;
}

// The program of an uninstall command, when the command names one by a full path.
bool ProgramOfCommand(const char* command, char (&program)[kCommandCapacity])
{
    if (!CopyText(program, command))
        return false;
    StripToProgramPath(program);
    return FindRootEnd(program) != nullptr;
}

}  // namespace

LONG WriteUninstallEntry(const Package& package, const char* programPath)
{
    // The command the system's list of removable programs runs; a cut one would start
    // something else. The destination page refuses a folder whose command would not fit.
    SavedUninstallEntry values = {};
    if (!CopyText(values.command, "\"") || !AppendText(values.command, programPath) ||
        !AppendText(values.command, "\" /r"))
        return ERROR_FILENAME_EXCED_RANGE;
    DescribeInstallation(package, programPath, values);
    RegistryHandle key;
    LONG result = CreateUninstallEntryKey(package, key);
    return result == ERROR_SUCCESS ? SetEntryValues(key.Get(), values) : result;
}

bool SaveUninstallEntry(const Package& package, SavedUninstallEntry* saved)
{
    *saved = SavedUninstallEntry{};
    char path[kPathCapacity];
    RegistryKey key;
    if (!UninstallEntryPath(package, path) || !key.Open(HKEY_LOCAL_MACHINE, path, KEY_READ))
        return false;
    for (const EntryValue& value : kEntryValues) {
        char* data = reinterpret_cast<char*>(saved) + value.offset;
        if (value.capacity != 0)
            key.ReadString(value.name, data, value.capacity);
        else
            key.ReadNumber(value.name, reinterpret_cast<DWORD*>(data));
    }
    return true;
}

void RestoreUninstallEntry(const Package& package, const SavedUninstallEntry& saved)
{
    RegistryHandle key;
    if (CreateUninstallEntryKey(package, key) == ERROR_SUCCESS)
        SetEntryValues(key.Get(), saved);
}

bool IsRegisteredProgram(const Package& package, const char* programPath)
{
    char path[kPathCapacity];
    char displayName[kPathCapacity];
    char command[kCommandCapacity];
    char program[kCommandCapacity];
    RegistryKey key;
    if (!UninstallEntryPath(package, path) || !key.Open(HKEY_LOCAL_MACHINE, path, KEY_READ) ||
        !key.ReadString(kDisplayNameValue, displayName) || lstrcmpA(displayName, package.title) != 0 ||
        !key.ReadString(kUninstallStringValue, command))
        return false;
    // The install writes a full path; a bare name would be judged against whatever the current
    // folder happens to be.
    return ProgramOfCommand(command, program) && IsSameFile(program, programPath);
}

bool FindOtherEntry(const Package& package, const char* path, bool byFolder, char (&displayName)[kPathCapacity])
{
    return AnyUninstallEntry([&](const char* name, RegistryKey& entry) {
        char command[kCommandCapacity];
        char program[kCommandCapacity];
        if (lstrcmpiA(name, package.installKey) == 0 || !entry.ReadString(kUninstallStringValue, command) ||
            !ProgramOfCommand(command, program))
            return false;
        if (byFolder) {
            *FileNamePart(program) = '\0';
            if (program[0] == '\0' || !IsSameFolder(program, path))
                return false;
        } else if (!IsSameFile(program, path)) {
            return false;
        }
        if (!entry.ReadString(kDisplayNameValue, displayName))
            CopyText(displayName, name);
        return true;
    });
}

LONG WriteApplicationKey()
{
    RegistryHandle key;
    LONG result = RegCreateKeyA(HKEY_CURRENT_USER, kApplicationKey, key.Receive());
    if (!key.KeepIf(result == ERROR_SUCCESS))
        return result;
    // The installed application expects the whole 260-byte field. Everything after the text
    // is zero, so nothing of an earlier, longer folder reaches the registry.
    char execPath[kPathCapacity] = {};
    CopyText(execPath, installState.installDir);
    result = RegSetValueExA(key.Get(), kExecPathValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(execPath), sizeof execPath);
    if (result == ERROR_SUCCESS)
        result = SetNumber(key.Get(), kFirstValue, 1);
    return result;
}

namespace {

typedef LONG(WINAPI* TreeDeletion)(HKEY, LPCWSTR);

// The system's own deletion of a key with everything below it: RegDeleteTreeW from Windows
// Vista on, else SHDeleteKeyW of the shell's light-weight library (Internet Explorer 4 on),
// taken from the system folder only. nullptr when the system has neither.
TreeDeletion FindTreeDeletion(LoadedLibrary& shellLibrary)
{
    FARPROC found = GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteTreeW");
    char path[kPathCapacity];
    UINT length = found == nullptr ? GetSystemDirectoryA(path, sizeof path) : 0;
    if (length != 0 && length < sizeof path && AppendPathPart(path, "shlwapi.dll")) {
        shellLibrary.Reset(LoadLibraryA(path));
        if (shellLibrary.IsOpen())
            found = GetProcAddress(shellLibrary.Get(), "SHDeleteKeyW");
    }
    return reinterpret_cast<TreeDeletion>(reinterpret_cast<void (*)()>(found));
}

// RegEnumKeyA spells a sub key name with a character the code page lacks by a best fit (the
// yen sign comes back as "\\" under code page 932) or by "?", and the key cannot be opened by
// that name; the system's wide tree deletion reaches every sub key by its real name. False
// when the system has none, or it failed (Windows 95 has the wide registry calls as stubs).
bool DeleteTreeByRealNames(HKEY root, const char* subKey)
{
    WCHAR wide[kPathCapacity];
    if (MultiByteToWideChar(CP_ACP, 0, subKey, -1, wide, kPathCapacity) <= 1)
        return false;
    LoadedLibrary shellLibrary;
    TreeDeletion deleteTree = FindTreeDeletion(shellLibrary);
    return deleteTree != nullptr && deleteTree(root, wide) == ERROR_SUCCESS;
}

bool KeyIsGone(HKEY root, const char* subKey)
{
    RegistryHandle key;
    LONG result = RegOpenKeyExA(root, subKey, 0, KEY_READ, key.Receive());
    key.KeepIf(result == ERROR_SUCCESS);
    return result == ERROR_FILE_NOT_FOUND;
}

// The deletion by the names RegEnumKeyA gives, bottom-up.
void DeleteKeyTreeByNames(HKEY root, const char* subKey)
{
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
                DeleteKeyTreeByNames(key.Handle(), name);
                CopyText(previous, name);
            }
        }
        key.Close();
    }
    RegDeleteKeyA(root, subKey);
}

}  // namespace

bool DeleteKeyTree(HKEY root, const char* subKey)
{
    // An empty sub key names root itself: everything below it would go.
    if (subKey == nullptr || subKey[0] == '\0')
        return false;
    if (!DeleteTreeByRealNames(root, subKey))
        DeleteKeyTreeByNames(root, subKey);
    return KeyIsGone(root, subKey);
}

void DeleteUninstallEntry(const Package& package)
{
    char path[kPathCapacity];
    if (UninstallEntryPath(package, path))
        DeleteKeyTree(HKEY_LOCAL_MACHINE, path);
}
