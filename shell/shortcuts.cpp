// Shortcut manager: makes the .lnk files of one place through the shell-link object, and
// removes them again (with the program-menu folders they leave empty).
#include "shell/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "base/folders.h"
#include "base/handle.h"
#include "base/log.h"
#include "base/path.h"
#include "base/protected_folders.h"
#include "base/registry_key.h"
#include "setup/entries.h"
#include "setup/install_record.h"
#include "setup/install_state.h"
#include "shell/target_spec.h"

namespace {

// Icon files and working folders may expand to a long registry or system-folder text.
constexpr size_t kExpandCapacity = 1284;

constexpr const char* kLinkExtension = ".lnk";

// The folder of a place, with a trailing separator. False when the place has no folder: the
// shell-folder value cannot be read, it is empty, or it is too long to hold a file name.
bool PlaceFolder(ShortcutPlace place, char (&folder)[kPathCapacity])
{
    if (place == ProgramMenu) {
        if (!CopyText(folder, installState.menuDir))
            return false;
    } else {
        if (!ReadShellFolder(place == Desktop ? "Desktop" : "Startup", folder))
            return false;
    }
    // An empty folder would put the shortcuts at the root of the current drive.
    return folder[0] != '\0' && AppendPathPart(folder, "");
}

// folder + name + ".lnk"; false when that does not fit (the shortcut is then skipped: a cut
// name could be another shortcut's). A name is one file name: with a separator in it,
// "..\.." could lead the shortcut out of its folder, and its removal onto a file of the user's.
bool ShortcutFilePath(char (&file)[kPathCapacity], const char* folder, const char* name)
{
    return FindFirstSeparator(name) == nullptr && CopyText(file, folder) && AppendText(file, name) &&
           AppendText(file, kLinkExtension);
}

bool IsRooted(const char* path) { return FindRootEnd(path) != nullptr; }

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

void DeleteLink(const char* file)
{
    if (DeleteFileA(file))
        LogAction(LogFileRemoved, file);
}

// Cuts path at its last separator, unless that would leave no more than a root or a bare
// drive: "C:" names the current folder of drive C, which is nothing of this program's.
bool CutLastLevel(char* path)
{
    char* separator = FindLastSeparator(path);
    const char* root = FindRootEnd(path);
    if (separator == nullptr || *separator == ':' || (root != nullptr && separator <= root))
        return false;
    *separator = '\0';
    return true;
}

// Deletes the group entries' shortcuts, then the program-menu folder and every parent that
// this leaves empty. The climb ends at the first folder that cannot be removed, and before any
// of the user's shell folders (an empty Programs folder is still the user's).
void RemoveGroupShortcuts(const Package& package, char (&folder)[kPathCapacity])
{
    char file[kPathCapacity];
    for (int n = 1; n <= package.groupCount; ++n) {
        ResolvedEntry entry = ResolveGroupEntry(package, n);
        if (entry.resolved && entry.source[0] != '\0' && ShortcutFilePath(file, folder, entry.source))
            DeleteLink(file);
    }
    // The folder ends with its separator; the first cut names the folder itself.
    if (!CutLastLevel(folder))
        return;
    while (!IsProtectedFolder(folder) && RemoveDirectoryA(folder) && CutLastLevel(folder)) {
    }
}

void RemoveSingleShortcut(const Package& package, const char* folder)
{
    char file[kPathCapacity];
    if (ShortcutFilePath(file, folder, package.title))
        DeleteLink(file);
}

// The icon location handed to the link: the icon file, expanded when it is not rooted, or the
// link's own path. False when the expansion does not fit (the shell's default icon stays).
bool IconLocation(const TargetSpec& spec, char (&buffer)[kExpandCapacity], const char** location)
{
    if (spec.iconFile == nullptr || spec.iconFile[0] == '\0') {
        *location = spec.path;
        return true;
    }
    if (IsRooted(spec.iconFile)) {
        *location = spec.iconFile;
        return true;
    }
    if (ExpandPathMacro(spec.iconFile, buffer, sizeof buffer) == kExpandTooLong)
        return false;
    *location = buffer;
    return true;
}

// The working folder: the option's folder (expanded and normalised when it is not rooted)
// when something exists under that name, otherwise the destination folder.
const char* WorkingFolder(const TargetSpec& spec, char (&buffer)[kExpandCapacity])
{
    if (spec.workingFolder == nullptr)
        return installState.installDir;
    const char* folder = spec.workingFolder;
    if (!IsRooted(folder)) {
        if (ExpandPathMacro(folder, buffer, sizeof buffer) == kExpandTooLong)
            return installState.installDir;
        if (!NormalizeFolderPath(buffer))
            return installState.installDir;
        folder = buffer;
    }
    return Exists(folder) ? folder : installState.installDir;
}

void SaveLink(IShellLinkA* link, const char* file)
{
    ComPointer<IPersistFile> persist;
    if (FAILED(link->QueryInterface(IID_IPersistFile, persist.ReceiveVoid())))
        return;
    WCHAR widePath[kPathCapacity];
    if (MultiByteToWideChar(CP_ACP, 0, file, -1, widePath, kPathCapacity) != 0 && SUCCEEDED(persist->Save(widePath, TRUE))) {
        LogAction(LogShortcutMade, file);
        RecordMade(RecordKind::Shortcut, file);
    }
}

// Makes one shortcut named entry.source from the target specification in entry.target.
void MakeShortcut(const ResolvedEntry& entry, const char* folder, const char* programPath)
{
    const char* name = entry.source;
    char file[kPathCapacity];
    if (name[0] == '\0' || !ShortcutFilePath(file, folder, name))
        return;

    ComPointer<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.ReceiveVoid())))
        return;

    TargetSpec spec;
    char targetSpec[kPathCapacity];
    CopyText(targetSpec, entry.target);
    ParseTargetSpec(targetSpec, &spec);
    if (spec.arguments != nullptr)
        link->SetArguments(spec.arguments);

    if (spec.arguments != nullptr && lstrcmpA(spec.arguments, "/r") == 0 &&
        programPath[0] != '\0' && lstrcmpiA(spec.path, programPath) == 0)
        CopyText(installState.uninstallShortcutName, name);

    link->SetPath(spec.path);
    link->SetDescription(name);

    // The icon location is handed over before the working folder reuses the buffer.
    char buffer[kExpandCapacity];
    const char* iconLocation = nullptr;
    if (spec.iconIndex >= 0 && IconLocation(spec, buffer, &iconLocation))
        link->SetIconLocation(iconLocation, spec.iconIndex);
    link->SetWorkingDirectory(WorkingFolder(spec, buffer));

    SaveLink(link.Get(), file);
}

// The single shortcut's target: "Shortcut" inside the destination folder, or file entry 1's
// destination. False when it does not fit.
ResolvedEntry ResolveSingleTarget(const Package& package)
{
    ResolvedEntry entry = ResolveInstallEntry(package, 1);
    if (package.shortcutTarget[0] != '\0')
        entry.resolved = CopyText(entry.target, installState.installDir) &&
                         AppendText(entry.target, package.shortcutTarget);
    if (entry.resolved)
        entry.resolved = CopyText(entry.source, package.title);
    return entry;
}

void CreateShortcuts(const Package& package, const char* folder, bool groupList)
{
    // Without a path of its own the uninstall shortcut cannot be recognised; the others are
    // still made.
    char programPath[kPathCapacity];
    if (!CopyText(programPath, installState.installDir) || !AppendText(programPath, package.exeName))
        programPath[0] = '\0';

    HRESULT initialized = CoInitialize(nullptr);
    if (groupList) {
        for (int n = 1; n <= package.groupCount; ++n) {
            ResolvedEntry entry = ResolveGroupEntry(package, n);
            if (entry.resolved)
                MakeShortcut(entry, folder, programPath);
        }
    } else {
        ResolvedEntry entry = ResolveSingleTarget(package);
        if (entry.resolved)
            MakeShortcut(entry, folder, programPath);
    }
    if (SUCCEEDED(initialized))
        CoUninitialize();
}

}  // namespace

void RemoveRecordedShortcut(const char* file)
{
    char folder[kPathCapacity];
    const char* extension = ExtensionPart(file);
    if (FindRootEnd(file) == nullptr || extension == nullptr || lstrcmpiA(extension, kLinkExtension) != 0 ||
        !CopyText(folder, file))
        return;
    DeleteLink(file);
    while (CutLastLevel(folder) && !IsProtectedFolder(folder) && RemoveDirectoryA(folder))
        LogAction(LogFolderRemoved, folder);
}

void UpdateShortcuts(const Package& package, ShortcutPlace place, ShortcutUpdate update, EngineReport& report)
{
    char folder[kPathCapacity];
    if (!PlaceFolder(place, folder))
        return;

    bool groupList = place == ProgramMenu && package.groupCount > 0;
    if (update == RemoveShortcuts) {
        if (groupList)
            RemoveGroupShortcuts(package, folder);
        else
            RemoveSingleShortcut(package, folder);
        return;
    }
    // Only the group list makes its folder; a failure is reported there and the saves that
    // follow fail silently.
    FolderFailure failure;
    if (groupList && !CreateFolderTree(folder, &failure))
        ReportFolderFailure(report, failure);
    CreateShortcuts(package, folder, groupList);
}
