// Settings loader: reads the setup information file, works out the default destination and
// program-menu folders, and refuses a setup whose uninstall registration belongs to another
// application. Every value that would not fit its buffer is refused rather than cut: a cut
// folder or key name would name another folder or another application's key.
#include "setup/settings.h"

#include "base/messages.h"
#include "base/path.h"
#include "base/registry_key.h"
#include "base/text.h"
#include "res/resource.h"
#include "setup/engine_report.h"
#include "setup/entries.h"
#include "setup/entry_reader.h"
#include "setup/install_state.h"

namespace {

constexpr size_t kAccessoriesCapacity = 50;

DWORD ReadInstallString(const Package& package, const char* key, char* buffer, size_t capacity)
{
    return GetPrivateProfileStringA(kInstallSection, key, "", buffer, static_cast<DWORD>(capacity), package.infPath);
}

// A text that only the system's list of programs shows: one that fills its buffer is too long,
// and left out rather than cut.
void ReadWholeInstallString(const Package& package, const char* key, char* buffer, size_t capacity)
{
    if (ReadInstallString(package, key, buffer, capacity) + 2 > capacity)
        buffer[0] = '\0';
}

// Numbered entries 1, 2, ... up to the first one that is absent or empty; later keys are never
// looked at, so a gap ends the list.
int CountEntries(const Package& package, const char* section)
{
    // Only whether an entry is empty matters here; a longer one is cut, and still not empty.
    char entry[kPathCapacity];
    int count = 0;
    EntryReadingPass pass;
    for (;;) {
        ReadNumberedEntry(package.infPath, section, count + 1, entry, sizeof entry);
        if (entry[0] == '\0')
            return count;
        ++count;
    }
}

// Removes real separators ("\" or "/", never the colon of a drive) from the end of path. The
// last separator is found multibyte-aware: a trail byte 0x5C at the end is part of a character.
void CutTrailingSeparators(char* path)
{
    for (;;) {
        char* last = FindLastSeparator(path);
        if (last == nullptr || last[1] != '\0' || !IsSeparator(*last))
            return;
        *last = '\0';
    }
}

// The uninstall entry's key name: "InstallKey", else the last component of the folder value.
// A folder value with trailing separators still names its last folder; a key name that stays
// empty would address the shared "Uninstall" key itself, so the caller refuses it.
bool DeriveInstallKey(Package& package, const char* folder)
{
    if (package.installKey[0] == '\0') {
        char trimmed[kPathCapacity];
        CopyText(trimmed, folder);
        CutTrailingSeparators(trimmed);
        CopyText(package.installKey, FileNamePart(trimmed));
    }
    ReplaceChar(package.installKey, '/', '_');
    ReplaceChar(package.installKey, '\\', '_');
    return package.installKey[0] != '\0';
}

void ReadAccessoriesName(char* name, size_t capacity)
{
    RegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey, KEY_READ) ||
        !key.ReadString("SM_AccessoriesName", name, static_cast<DWORD>(capacity)))
        CopyText(name, capacity, "Accessories");
}

// A menu value names a folder below its base even when written with a leading separator:
// appended as it stands, it would give a doubled separator that the program-menu page then
// shows as a folder name of its own.
const char* RelativePart(const char* text)
{
    while (IsSeparator(*text))
        ++text;
    return text;
}

bool ComputeMenuDir(const Package& package, const char* menu)
{
    char accessories[kAccessoriesCapacity];
    ReadAccessoriesName(accessories, sizeof accessories);

    installState.menuDir[0] = '\0';
    ReadShellFolder("Programs", installState.menuDir);

    if (menu[0] == '\\') {
        ReadShellFolder("Start Menu", installState.menuDir);
        return AppendPathPart(installState.menuDir, RelativePart(menu));
    }
    if (menu[0] == 'a' && menu[1] == '!')
        return AppendPathPart(installState.menuDir, accessories) &&
               AppendPathPart(installState.menuDir, RelativePart(menu + 2));
    if (menu[0] != '\0')
        return AppendPathPart(installState.menuDir, menu);
    if (package.groupCount > 0)
        return AppendPathPart(installState.menuDir, package.title);
    return true;
}

bool ComputeInstallDir(const char* folder)
{
    char* dir = installState.installDir;
    RegistryKey currentVersion;
    currentVersion.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey, KEY_READ);
    if (!currentVersion.ReadString("ProgramFilesDir", installState.installDir)) {
        UINT length = GetWindowsDirectoryA(dir, kPathCapacity);
        if (length == 0 || length >= kPathCapacity)
            dir[0] = '\0';
        if (dir[0] != '\0' && dir[1] == ':') {
            dir[2] = '\0';
            AppendText(installState.installDir, "\\Program Files");
        } else {
            CopyText(installState.installDir, "C:\\");
        }
    }

    if (folder[0] == '\\') {
        if (dir[0] != '\0' && dir[1] != '\0')
            dir[2] = '\0';
        if (!AppendText(installState.installDir, folder))
            return false;
    } else if (!AppendPathPart(installState.installDir, folder)) {
        return false;
    }
    return AppendPathPart(installState.installDir, "");
}

// The folder of a registered uninstall command ("path" /r): the program path without its file
// name. A command without any folder keeps the computed default, so that a reinstall never
// lands in the current directory.
void ReuseRegisteredFolder(const char* registeredCommand)
{
    char command[kCommandCapacity];
    if (!CopyText(command, registeredCommand))
        return;
    StripToProgramPath(command);
    *FileNamePart(command) = '\0';
    size_t length = lstrlenA(command);
    if (length > 0 && IsSeparator(command[length - 1]) && CopyText(installState.installDir, command))
        CopyText(installState.earlierInstallDir, command);
}

// True when an uninstall command names a copy of this program (by its file name) and, where
// that copy's setup file is there, the file carries this title.
bool NamesInstalledCopy(const Package& package, const char* command)
{
    // Quoted or not, with or without " /r": earlier versions and hand-made entries differ.
    char program[kCommandCapacity];
    if (!CopyText(program, command))
        return false;
    StripToProgramPath(program);
    if (lstrcmpiA(FileNamePart(program), package.exeName) != 0)
        return false;
    // A copy whose folder has gone (removed by hand), or a command without a folder, leaves
    // nothing more to judge: the entry is still this application's to renew.
    char title[kTitleCapacity];
    return FindRootEnd(program) == nullptr || !ReplaceExtension(program, "INF") ||
           GetFileAttributesA(program) == INVALID_FILE_ATTRIBUTES ||
           (GetPrivateProfileStringA(kInstallSection, kTitleKey, "", title, sizeof title, program) > 0 &&
            lstrcmpA(title, package.title) == 0);
}

bool RefuseFile(EngineReport& report)
{
    report.Failure(LoadMessage(IDS_NO_INFORMATION));
    return false;
}

bool RefuseRegistration(EngineReport& report, const char* displayName)
{
    report.Failure(FormatMessageText(IDS_ENTRY_IN_USE, displayName));
    return false;
}

// True when no other application holds the registration; a previous install of this one
// lends its folders to the reinstall.
bool CheckRegistration(const Package& package, EngineReport& report)
{
    char entryPath[kPathCapacity];
    if (!CopyText(entryPath, kUninstallKey) || !AppendText(entryPath, "\\") ||
        !AppendText(entryPath, package.installKey)) {
        return RefuseFile(report);
    }

    // An existing entry is this application's only when it carries this title and names an
    // installed copy of this program; any other is another product's, whose folder and
    // registration would otherwise be taken over (and later removed).
    char displayName[kPathCapacity];
    char command[kCommandCapacity];
    RegistryKey entry;
    if (entry.Open(HKEY_LOCAL_MACHINE, entryPath, KEY_READ)) {
        if (!entry.ReadString(kDisplayNameValue, displayName))
            CopyText(displayName, package.installKey);
        if (lstrcmpA(displayName, package.title) != 0 || !entry.ReadString(kUninstallStringValue, command) ||
            !NamesInstalledCopy(package, command))
            return RefuseRegistration(report, displayName);
        ReuseRegisteredFolder(command);
        entry.ReadString(kMenuDirValue, installState.menuDir);
        DWORD folderWasThere = 0;
        installState.folderWasThere = entry.ReadNumber(kFolderWasThereValue, &folderWasThere) && folderWasThere == 1;
        installState.earlierFolderWasThere = installState.folderWasThere;
        return true;
    }

    bool titleTaken = AnyUninstallEntry([&](const char*, RegistryKey& other) {
        return other.ReadString(kDisplayNameValue, displayName) && lstrcmpA(displayName, package.title) == 0;
    });
    return titleTaken ? RefuseRegistration(report, displayName) : true;
}

}  // namespace

bool LoadSetupInformation(Package& package, EngineReport& report)
{
    // An empty path would make the profile reader look for a file of its own choosing.
    if (package.infPath[0] == '\0')
        return RefuseFile(report);

    char folder[kPathCapacity];
    char menu[kPathCapacity];
    ReadInstallString(package, kTitleKey, package.title, sizeof package.title);
    ReadInstallString(package, kFolderKey, folder, sizeof folder);
    ReadInstallString(package, kInstallKeyKey, package.installKey, sizeof package.installKey);
    ReadInstallString(package, kMenuKey, menu, sizeof menu);
    ReadInstallString(package, kShortcutKey, package.shortcutTarget, sizeof package.shortcutTarget);
    ReadWholeInstallString(package, kVersionKey, package.version, sizeof package.version);
    ReadWholeInstallString(package, kPublisherKey, package.publisher, sizeof package.publisher);
    package.residentProgram = GetPrivateProfileIntA(kInstallSection, kResidentKey, 0, package.infPath) == 1;
    package.keepForeignFiles = GetPrivateProfileIntA(kInstallSection, kRemoveNoneKey, 0, package.infPath) == 1;

    if (package.title[0] == '\0' || folder[0] == '\0')
        return RefuseFile(report);

    package.fileCount = CountEntries(package, kInstallSection);
    package.groupCount = CountEntries(package, kGroupSection);

    if (!DeriveInstallKey(package, folder))
        return RefuseFile(report);
    ReplaceChar(folder, '/', '\\');
    ReplaceChar(menu, '/', '\\');

    // A program-menu or destination folder that does not fit in a path is unusable.
    if (!ComputeMenuDir(package, menu) || !ComputeInstallDir(folder))
        return RefuseFile(report);

    return CheckRegistration(package, report);
}

bool ComputeDefaultInstallDir(const char* folder)
{
    char tidy[kPathCapacity];
    if (!CopyText(tidy, folder))
        return false;
    ReplaceChar(tidy, '/', '\\');
    return ComputeInstallDir(tidy);
}
