// Removal engine: undoes an installation in the uninstall worker. It deletes the "Reg" keys,
// the installed files from the last entry back to the program itself, whatever else lies in
// the install folder, the folder, and the shortcuts. Failures go to the report at once; only a
// failure on file entry 1 (most often the running application) stops the work.
#include "uninstall/removal.h"

#include <windows.h>

#include "base/file_search.h"
#include "base/handle.h"
#include "base/log.h"
#include "base/messages.h"
#include "base/path.h"
#include "base/path_set.h"
#include "base/text.h"
#include "base/window.h"
#include "res/resource.h"
#include "setup/entries.h"
#include "setup/entry_reader.h"
#include "setup/install_plan.h"
#include "setup/install_record.h"
#include "setup/install_state.h"
#include "shell/registration.h"
#include "shell/shortcuts.h"
#include "base/protected_folders.h"
#include "base/same_file.h"
#include "base/shared_keys.h"

namespace {

// The installed program may still be held by a process that is ending: the request that has
// just handed over, or a second request that was refused. Its deletion is tried again for a
// few seconds before it is reported as in use.
constexpr DWORD kReleaseWaitMs = 5000;
constexpr DWORD kReleaseRetryMs = 50;

bool DeleteWhenReleased(const char* path, DWORD waitMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (DeleteFileA(path))
            return true;
        DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || GetTickCount() - start >= waitMs) {
            SetLastError(error);
            return false;
        }
        AnswerNowAndThen();
        Sleep(kReleaseRetryMs);
    }
}

struct RegistryRoot {
    const char* name;
    int length;  // characters compared; the sub key starts one character after them
    HKEY key;
};

const RegistryRoot kRegistryRoots[] = {
    {"HKEY_CURRENT_USER", 17, HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", 18, HKEY_LOCAL_MACHINE},
    {"HKEY_CLASSES_ROOT", 17, HKEY_CLASSES_ROOT},
};

bool StartsWith(const char* text, const char* prefix, int length)
{
    for (int i = 0; i < length; ++i) {
        if (text[i] != prefix[i])
            return false;
    }
    return true;
}

// The root of a "Reg" value and its sub key. The character after the root name is skipped
// unexamined. A value that names no sub key is refused like an unknown root: an empty sub
// key would stand for the root itself, and everything below it would be deleted.
bool SplitRegistryValue(const char* value, HKEY* root, const char** subKey)
{
    for (const RegistryRoot& candidate : kRegistryRoots) {
        if (!StartsWith(value, candidate.name, candidate.length))
            continue;
        if (value[candidate.length] == '\0' || value[candidate.length + 1] == '\0')
            return false;
        *root = candidate.key;
        *subKey = value + candidate.length + 1;
        return true;
    }
    return false;
}

// A key that holds many programs' keys is refused like an unknown root: a packager's slip must
// not take every other program's settings or uninstall entries with it. So is a file extension
// or a class unless the record of an install says it was absent then (".txt" is the system's).
bool MayDeleteKey(const char* value, HKEY root, const char* subKey, const char* record)
{
    KeyShare share = JudgeRegistryKey(root, subKey);
    return share == KeyShare::Own || (share == KeyShare::ClassName && record[0] != '\0' &&
                                      RecordLists(record, RecordKind::CreatedKey, value));
}

// False when the key was to go and is still there; a refused value deleted nothing. Either is
// told with message 27.
bool RemoveRegistryValue(const char* value, size_t length, const char* record, EngineReport& report)
{
    HKEY root;
    const char* subKey;
    bool valid = length < kPathCapacity && SplitRegistryValue(value, &root, &subKey) &&
                 MayDeleteKey(value, root, subKey, record);
    if (valid && DeleteKeyTree(root, subKey)) {
        LogAction(LogKeyDeleted, value);
        return true;
    }
    LogAction(LogFailure, value);
    report.Failure(LoadMessage(IDS_ABNORMAL_REG));
    return !valid;
}

// False when a key that was to go is still there (message 27 has then told so).
bool RemoveRegistryKeys(const Package& package, EngineReport& report)
{
    bool allGone = true;
    // One byte more than a key path holds: a longer value would be cut, and the cut text
    // would name another key, which would then be deleted with everything below it. A value
    // that does not fit is refused like an unknown root. The entry reader, unlike the profile
    // reader, also refuses a quoted value that was cut.
    char value[kPathCapacity + 1];
    char record[kPathCapacity];
    if (!InstallRecordPath(package, record))
        record[0] = '\0';
    for (unsigned i = 1;; ++i) {
        DWORD length = ReadNumberedEntry(package.infPath, kRegSection, i, value, sizeof value);
        if (length == 0)
            return allGone;
        if (!RemoveRegistryValue(value, length, record, report))
            allGone = false;
    }
}

void ReportPathFailure(EngineReport& report, int id, const char* path, DWORD error)
{
    LogAction(LogFailure, path, error);
    report.Failure(FormatMessageText(id, path));
}

// Resolves file entry i; not resolved when the uninstaller must leave it (a system-folder file,
// whichever macro or ".." led there, or an entry too long to name its file whole).
ResolvedEntry ResolveRemovableEntry(const Package& package, int i)
{
    ResolvedEntry entry = ResolveInstallEntry(package, i);
    entry.resolved = entry.resolved && entry.mayRemove && !LiesInSystemFolder(entry.target);
    return entry;
}

// Entries such as "data\level1.dat" made sub folders of the install folder; once their files
// are gone those folders would be left empty and keep the install folder from being removed.
// The folders between the deleted file and the install folder are removed from the deepest
// up; RemoveDirectoryA refuses a folder that still holds anything, so a folder with other
// files in it, and everything above it, stays until its last entry has gone. The install
// folder itself is left to ClearInstallFolder. installFolder is a full path ending with a
// separator.
void RemoveEmptyFoldersAbove(const char* file, const char* installFolder)
{
    // The full path resolves "..": a destination may name a place outside the install folder.
    char folder[kPathCapacity];
    DWORD length = GetFullPathNameA(file, sizeof folder, folder, nullptr);
    int installLength = lstrlenA(installFolder);
    if (installLength == 0 || length == 0 || length >= sizeof folder ||
        !TextLiesInside(folder, installFolder))
        return;
    for (char* cut = FindLastSeparator(folder); cut != nullptr && cut - folder >= installLength;
         cut = FindLastSeparator(folder)) {
        *cut = '\0';
        if (!RemoveDirectoryA(folder))
            return;
        LogAction(LogFolderRemoved, folder);
    }
}

// True when both paths name files of the same folder (compared without regard to case).
bool InSameFolder(const char* first, const char* second)
{
    char a[kPathCapacity];
    char b[kPathCapacity];
    if (!CopyText(a, first) || !CopyText(b, second))
        return false;
    *FileNamePart(a) = '\0';
    *FileNamePart(b) = '\0';
    return lstrcmpiA(a, b) == 0;
}

// What the install record adds to the removal of the current setup file's entries: files and
// keys that earlier installs made (the current file no longer names them), or shortcuts.
struct RecordWalk {
    const char* record;
    EngineReport* report;
    const char* installFolder;
    const PathSet* removed;  // the files the walk over the entries has deleted
    RecordKind kind;         // the kind this walk removes
    bool complete;
};

void RemoveRecorded(RecordKind kind, const char* path, void* context)
{
    RecordWalk& walk = *static_cast<RecordWalk*>(context);
    AnswerNowAndThen();
    if (kind != walk.kind)
        return;
    if (kind == RecordKind::Shortcut) {
        RemoveRecordedShortcut(path);
    } else if (kind == RecordKind::Key) {
        // A key the current setup file names has gone already, and one it refuses has been
        // reported: only a key an earlier install listed and that may go is left to delete.
        HKEY root;
        const char* subKey;
        RegistryKey key;
        if (SplitRegistryValue(path, &root, &subKey) && MayDeleteKey(path, root, subKey, walk.record) &&
            key.Open(root, subKey, KEY_READ)) {
            key.Close();
            if (!RemoveRegistryValue(path, lstrlenA(path), walk.record, *walk.report))
                walk.complete = false;
        }
    } else if (!walk.removed->Contains(path) && FindRootEnd(path) != nullptr && !LiesInSystemFolder(path) &&
               GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
        if (!DeleteFileReporting(path, *walk.report))
            walk.complete = false;
        else if (walk.installFolder[0] != '\0')
            RemoveEmptyFoldersAbove(path, walk.installFolder);
    }
}

// Removes what the record lists of kind; false when a file stayed.
bool RemoveRecordedKind(const char* record, RecordKind kind, const char* installFolder, const PathSet& removed,
                        EngineReport& report)
{
    RecordWalk walk = {record, &report, installFolder, &removed, kind, true};
    if (record[0] != '\0')
        ReadInstallRecord(record, RemoveRecorded, &walk);
    return walk.complete;
}

// Deletes the files of the entries N down to -1. False when one could not be deleted; *stopped
// tells that the removal ended before the shortcuts, the setup file and the program, which an
// uninstall needs to try again: after entry 1 (message 28), or after any file entry that stayed.
// The folders above a deleted file are climbed once for each run of entries in one folder, not
// once for each file: RemoveDirectoryA looks through a folder that still holds files before it
// refuses, which for thousands of files in a few folders costs more than the deletions.
bool RemoveEntryFiles(const Package& package, EngineReport& report, bool* stopped)
{
    char record[kPathCapacity];
    if (!InstallRecordPath(package, record))
        record[0] = '\0';
    char installFolder[kPathCapacity];
    if (!CopyText(installFolder, installState.installDir) || !NormalizeFolderPath(installFolder) ||
        !AppendPathPart(installFolder, ""))
        installFolder[0] = '\0';

    char lastDeleted[kPathCapacity] = "";
    bool result = true;
    EntryReadingPass pass;
    PathSet removed;
    *stopped = false;
    for (int i = LastPlannedEntry(package.fileCount); i >= kFirstPlannedEntry; --i) {
        AnswerNowAndThen();
        if (i == kSetupFileEntry) {
            if (lastDeleted[0] != '\0')
                RemoveEmptyFoldersAbove(lastDeleted, installFolder);
            RemoveRecordedKind(record, RecordKind::Key, installFolder, removed, report);
            if (!RemoveRecordedKind(record, RecordKind::File, installFolder, removed, report))
                result = false;
            if (!result) {
                *stopped = true;
                return false;
            }
            RemoveRecordedKind(record, RecordKind::Shortcut, installFolder, removed, report);
            if (record[0] != '\0' && DeleteFileA(record))
                LogAction(LogFileRemoved, record);
            // The group names are read from the setup information file, pseudo entry 0. The
            // other shortcuts go with them, before the program: an uninstall whose caller waits
            // is answered just before the program goes.
            UpdateShortcuts(package, ProgramMenu, RemoveShortcuts, report);
            UpdateShortcuts(package, Desktop, RemoveShortcuts, report);
            UpdateShortcuts(package, Startup, RemoveShortcuts, report);
        }
        ResolvedEntry entry = ResolveRemovableEntry(package, i);
        if (!entry.resolved)
            continue;
        // Leaving a folder: climb from it before this entry, which may name a folder it emptied.
        if (i >= 1 && lastDeleted[0] != '\0' && !InSameFolder(lastDeleted, entry.target)) {
            RemoveEmptyFoldersAbove(lastDeleted, installFolder);
            lastDeleted[0] = '\0';
        }
        if (i == kInstallerEntry)
            report.ProgramRemovalNext(entry.target);
        if (DeleteFileReporting(entry.target, report, i == kInstallerEntry ? kReleaseWaitMs : 0)) {
            if (i >= 1) {
                CopyText(lastDeleted, entry.target);
                removed.Add(entry.target);
            }
            continue;
        }
        result = false;
        if (i == 1) {
            if (lastDeleted[0] != '\0')
                RemoveEmptyFoldersAbove(lastDeleted, installFolder);
            report.Failure(FormatMessageText(IDS_ENTRY1_DELETE_FAILED, entry.target, package.title));
            *stopped = true;
            return false;
        }
    }
    return result;
}

// True when the byte at offset of text is a "\\" of its own, not the second byte of a
// double-byte character (Shift-JIS and Big5 have such bytes: 表, 功, 許).
bool IsSeparatorCharacter(const char* text, int offset)
{
    const char* p = text;
    while (p < text + offset)
        p = CharNextA(p);
    return p == text + offset && *p == '\\';
}

// The levels that the package's own "Folder" value puts above the install folder ("Pondway"
// of "Pondway\Puzzle"): the destination page creates them when they are missing, and once the
// install folder has gone they would be left behind empty. Read before the setup information
// file is deleted. Zero unless the install folder's parent ends with those levels (the user
// chose another place: nothing above the install folder is the package's).
int PackageLevelsAbove(const Package& package, const char* installFolder)
{
    char value[kPathCapacity];
    GetPrivateProfileStringA(kInstallSection, kFolderKey, "", value, sizeof value, package.infPath);
    ReplaceChar(value, '/', '\\');
    char* start = value;
    while (*start == '\\')
        ++start;
    // The value's parent: everything before its last component.
    char* last = FindLastSeparator(start);
    while (last != nullptr && last[1] == '\0' && *last == '\\') {
        *last = '\0';
        last = FindLastSeparator(start);
    }
    if (last == nullptr || *last != '\\' || FindRootEnd(start) != nullptr)
        return 0;
    *last = '\0';

    char parent[kPathCapacity];
    if (!CopyText(parent, installFolder) || !NormalizeFolderPath(parent))
        return 0;
    char* cut = FindLastSeparator(parent);
    if (cut == nullptr)
        return 0;
    *cut = '\0';
    int parentLength = lstrlenA(parent);
    int valueLength = lstrlenA(start);
    if (valueLength == 0 || parentLength <= valueLength || !IsSeparatorCharacter(parent, parentLength - valueLength - 1) ||
        lstrcmpiA(parent + parentLength - valueLength, start) != 0)
        return 0;
    int levels = 1;
    for (const char* p = FindFirstSeparator(start); p != nullptr; p = FindFirstSeparator(p + 1))
        ++levels;
    return levels;
}

// Removes up to levels empty folders above the removed install folder, nearest first; a
// folder that still holds anything, or one of the system's or the user's, ends the climb.
void RemovePackageFoldersAbove(const char* installFolder, int levels)
{
    char folder[kPathCapacity];
    if (!CopyText(folder, installFolder) || !NormalizeFolderPath(folder))
        return;
    for (int level = 0; level < levels; ++level) {
        char* cut = FindLastSeparator(folder);
        const char* root = FindRootEnd(folder);
        if (cut == nullptr || (root != nullptr && cut <= root))
            return;
        *cut = '\0';
        if (IsProtectedFolder(folder) || !RemoveDirectoryA(folder))
            return;
        LogAction(LogFolderRemoved, folder);
    }
}

struct DeleteJob {
    const char* path;
    BOOL deleted;
    DWORD error;
};

// Wine frees a file's blocks in its server, which meanwhile answers no thread of any program,
// the dialog's included: most of a second for 2 GiB, whether the file is deleted or cut. Cut
// down 16 MiB at a time, the file is freed in pieces between the other requests the server
// takes (for 2 GiB the dialog then waited under 60 ms; with 64 MiB steps, 200 ms).
constexpr unsigned long long kCutStepBytes = 16 * 1024 * 1024;

void CutStepByStep(HANDLE file)
{
    DWORD high = 0;
    DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return;
    unsigned long long size = (static_cast<unsigned long long>(high) << 32) | low;
    while (size > 0) {
        size = size > kCutStepBytes ? size - kCutStepBytes : 0;
        LONG sizeHigh = static_cast<LONG>(size >> 32);
        SetLastError(NO_ERROR);
        if ((SetFilePointer(file, static_cast<LONG>(static_cast<DWORD>(size)), &sizeHigh, FILE_BEGIN) ==
                 INVALID_SET_FILE_POINTER &&
             GetLastError() != NO_ERROR) ||
            !SetEndOfFile(file))
            return;
    }
}

// Only a file already marked for deletion is cut: the handle that marks it is refused for a
// read-only file or one that another program holds open, exactly as DeleteFileA is, and such a
// file is left whole for DeleteFileA to fail on. Where the mark is not kept (Windows 95), the
// file is still there after the cut and DeleteFileA removes it. The data is cut only where this
// name is its only one: a hard link (as backup tools and mod managers make) or a symbolic link
// into the user's files shares the data with a file that stays, and only the name goes. The
// open takes a link itself, never what it points to.
DWORD WINAPI DeleteOnWorker(LPVOID data)
{
    DeleteJob* job = static_cast<DeleteJob*>(data);
    {
        FileHandle file(CreateFileA(job->path, GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        BY_HANDLE_FILE_INFORMATION info;
        if (file.IsOpen() && GetFileInformationByHandle(file.Get(), &info) && info.nNumberOfLinks == 1 &&
            !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            CutStepByStep(file.Get());
    }
    bool gone = GetFileAttributesA(job->path) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND;
    job->deleted = gone || DeleteFileA(job->path);
    job->error = GetLastError();
    return 0;
}

constexpr DWORD kKeepingAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// A read-only, hidden or system file that the removal may delete (the application or the user
// marked it so) loses those attributes first, or its deletion would fail. Attributes belong to
// the data, not the name: a hard link or symbolic link into the user's files keeps them, and is
// reported as a file that could not be deleted.
void ClearAttributesToDelete(const char* path, DWORD attributes)
{
    if (!(attributes & kKeepingAttributes))
        return;
    BY_HANDLE_FILE_INFORMATION info;
    {
        FileHandle file(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file.IsOpen() || !GetFileInformationByHandle(file.Get(), &info) || info.nNumberOfLinks != 1 ||
            (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return;
    }
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
}

// A file whose listed name is not its own and that has no short name to reach it by: it stays
// and is reported under the folder with the name as listed, a text never given to a file call.
void ReportUnspelledFile(EngineReport& report, const char* folder, const char* listedName)
{
    char shown[kPathCapacity];
    if (!CopyText(shown, folder) || !AppendText(shown, listedName))
        CopyText(shown, folder);
    ReportPathFailure(report, IDS_DELETE_FAILED, shown, ERROR_INVALID_NAME);
}

// A help index file (".gid") is made by the help system beside the application's help file.
bool IsHelpIndexFile(const char* name)
{
    const char* extension = ExtensionPart(name);
    return extension != nullptr && lstrcmpiA(extension, ".gid") == 0;
}

}  // namespace

bool RemoveInstalledFiles(const Package& package, EngineReport& report, bool* keptForRetry)
{
    bool keysGone = RemoveRegistryKeys(package, report);
    int packageLevels = PackageLevelsAbove(package, installState.installDir);

    bool stopped = false;
    bool result = RemoveEntryFiles(package, report, &stopped);
    if (keptForRetry != nullptr)
        *keptForRetry = stopped;
    // A file entry is still there (for entry 1, message 28 asked the user to close it and
    // uninstall again): another attempt needs the setup information file, the program copy and
    // the shortcuts.
    if (stopped)
        return false;

    // The folders above a folder that was there before the install were there too.
    if (!ClearInstallFolder(package, installState.installDir, report))
        result = false;
    else if (!installState.folderWasThere)
        RemovePackageFoldersAbove(installState.installDir, packageLevels);
    return result && keysGone;
}

bool DeleteFileReporting(const char* path, EngineReport& report, DWORD releaseWaitMs)
{
    WIN32_FIND_DATAA facts;
    if (!ReadFileFacts(path, &facts))
        return true;
    ClearAttributesToDelete(path, facts.dwFileAttributes);
    // The file system can take a while to free a large file (half a second for 2 GiB under
    // Wine): a worker deletes it while the dialog answers.
    DeleteJob job = {path, FALSE, 0};
    DWORD threadId;  // Windows 95 starts no thread without a place for its id
    KernelObject worker;
    if (facts.nFileSizeHigh != 0 || facts.nFileSizeLow >= kWorkerFileBytes)
        worker.Reset(CreateThread(nullptr, 0, DeleteOnWorker, &job, 0, &threadId));
    if (worker.IsOpen())
        WaitAnswering(worker.Get(), nullptr, nullptr);
    else if (!(job.deleted = DeleteWhenReleased(path, releaseWaitMs)))
        job.error = GetLastError();
    if (job.deleted) {
        LogAction(LogFileRemoved, path);
        return true;
    }
    ReportPathFailure(report, IDS_DELETE_FAILED, path, job.error);
    return false;
}

bool ClearInstallFolder(const Package& package, const char* folder, EngineReport& report)
{
    // The pattern's "*.*" is overwritten by each found name, and at the end the separator
    // before it becomes the end of the folder path.
    char path[kPathCapacity];
    if (!CopyText(path, folder) || !AppendPathPart(path, "*.*")) {
        ReportPathFailure(report, IDS_FOLDER_DELETE_FAILED, folder, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    char* name = FileNamePart(path);

    // Judged by the folder that is listed. A folder of the system's or the user's is treated
    // as with "RemoveNone": the installed files have gone, only help index files follow them,
    // and the folder itself stays. So is a folder that was there before the install: what
    // else it holds is the user's, and the folder goes only when nothing else is in it.
    *name = '\0';
    bool isProtected = IsProtectedFolder(path);
    AppendText(path, "*.*");
    bool keepForeignFiles = package.keepForeignFiles || installState.folderWasThere || isProtected;

    bool ok = true;
    bool kept = false;
    FileSearch search;
    for (bool found = search.First(path); found; found = search.Next()) {
        AnswerNowAndThen();
        if (search.IsDotEntry())
            continue;
        if (search.IsDirectory()) {
            kept = kept || installState.folderWasThere;
            continue;
        }
        // A help index file is judged by a name that can be its own: a best-fit spelling may
        // end in ".gid" where the real name does not.
        const char* foundName = search.UsableName();
        if (keepForeignFiles && (foundName != search.findData.cFileName || !IsHelpIndexFile(foundName))) {
            ok = false;
            continue;
        }
        *name = '\0';
        if (foundName == nullptr)
            ReportUnspelledFile(report, path, search.findData.cFileName);
        else if (AppendText(path, foundName) && DeleteFileReporting(path, report))
            continue;
        ok = false;
    }
    search.Close();

    // A folder kept for the user's own folders in it is no failure to report.
    if (isProtected || kept)
        return false;
    if (name > path && (name[-1] == '\\' || name[-1] == '/'))
        name[-1] = '\0';
    else
        *name = '\0';
    if (ok && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
        if (RemoveDirectoryA(path)) {
            LogAction(LogFolderRemoved, path);
        } else {
            ReportPathFailure(report, IDS_FOLDER_DELETE_FAILED, path, GetLastError());
            ok = false;
        }
    }
    return ok;
}

bool SplitRegEntry(const char* value, HKEY* root, const char** subKey)
{
    return SplitRegistryValue(value, root, subKey);
}
