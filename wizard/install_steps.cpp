// The install engine: the steps of the plan (the folder, each entry copied under the overwrite
// rules, asking before a newer file is replaced, then the shortcuts and the registration), run
// one at a time by the copy page or the unattended install. It shows no window: what it does
// goes to the log, and what a person must learn or decide goes to the report.
#include "wizard/install_steps.h"

#include "base/file_search.h"
#include "base/folders.h"
#include "base/handle.h"
#include "base/log.h"
#include "base/messages.h"
#include "base/path.h"
#include "base/same_file.h"
#include "base/text.h"
#include "base/window.h"
#include "res/resource.h"
#include "setup/entries.h"
#include "setup/entry_reader.h"
#include "setup/install_plan.h"
#include "setup/install_record.h"
#include "setup/install_state.h"
#include "base/registry_key.h"
#include "shell/registration.h"
#include "shell/shortcuts.h"
#include "uninstall/removal.h"
#include "base/shared_keys.h"

namespace {

constexpr size_t kCopyMessageCapacity = 360;
constexpr int kStampPartCapacity = 200;
// Date, blank, time, two blanks, file name and terminator.
constexpr size_t kStampCapacity = 2 * kStampPartCapacity + 3 + kPathCapacity;
constexpr int kPermille = 1000;

// The platform's own words for the reasons a user can act on (a full disk, a refused
// access), after a blank line; nothing for other errors, whose text would only repeat ours,
// unless every reason is wanted.
void AppendSystemReason(char (&text)[kMessageCapacity], DWORD error, bool anyReason = false)
{
    if (!anyReason && error != ERROR_DISK_FULL && error != ERROR_HANDLE_DISK_FULL && error != ERROR_ACCESS_DENIED)
        return;
    char reason[kCopyMessageCapacity];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                  reason, sizeof reason, nullptr);
    while (length > 0 && (reason[length - 1] == '\r' || reason[length - 1] == '\n' || reason[length - 1] == ' '))
        reason[--length] = '\0';
    // Added whole or not at all.
    if (length > 0 && length < sizeof reason && lstrlenA(text) + 2 + length < sizeof text) {
        AppendText(text, "\n\n");
        AppendText(text, reason);
    }
}

// A copy failure, with the path it concerns; error is what the platform gave as the reason
// (0: none). The installation is then incomplete.
void ReportCopyFailure(EngineReport& report, int id, const char* path, DWORD error = 0)
{
    installState.installIncomplete = true;
    LogAction(LogFileFailed, path, error);
    char text[kMessageCapacity];
    if (!FormatMessageInto(text, sizeof text, id, path))
        CopyText(text, FormatMessageText(id, path));
    AppendSystemReason(text, error);
    report.Failure(text);
}

// An entry whose destination does not fit in a path is not copied; the user learns which
// one by the source text as the setup information file gives it.
void ReportUnresolvedEntry(const Package& package, EngineReport& report, int entry)
{
    char source[kPathCapacity] = "";
    if (entry == kInstallerEntry) {
        CopyText(source, package.exeName);
    } else if (entry == kSetupFileEntry) {
        CopyText(source, package.infName);
    } else {
        ReadNumberedEntry(package.infPath, kInstallSection, entry, source, sizeof source);
        char* comma = FindChar(source, ',');
        if (comma != nullptr)
            *comma = '\0';
    }
    ReportCopyFailure(report, IDS_COPY_FAILED, source);
}

// Makes sure the folder of target exists; false when it could not be made (reported).
bool PrepareTargetFolder(const char* target, EngineReport& report)
{
    char folder[kPathCapacity];
    CopyText(folder, target);
    char* name = FileNamePart(folder);
    if (name == folder)
        return true;
    *name = '\0';
    return GetFileAttributesA(folder) != INVALID_FILE_ATTRIBUTES || MakeFolderTree(folder, report);
}

// One copy run by a worker thread, with what the platform reports of its progress.
struct CopyJob {
    const char* source;
    const char* target;
    BOOL failIfExists;
    BOOL copied;
    DWORD error;
    volatile LONG permille;
    EngineReport* report;
};

DWORD CALLBACK RecordCopyProgress(LARGE_INTEGER total, LARGE_INTEGER done, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                                  HANDLE, HANDLE, LPVOID job)
{
    unsigned long long all = total.QuadPart;
    unsigned long long part = done.QuadPart;
    while (all > 0x7FFFFFFF) {
        all >>= 1;
        part >>= 1;
    }
    if (all > 0)
        static_cast<CopyJob*>(job)->permille = MulDiv(static_cast<int>(part), kPermille, static_cast<int>(all));
    return PROGRESS_CONTINUE;
}

// CopyFileExA reports progress where the platform has it (not Windows 95, and Wine 8 never
// calls the routine); it fails exactly as CopyFileA does.
DWORD WINAPI CopyOnWorker(LPVOID data)
{
    CopyJob* job = static_cast<CopyJob*>(data);
    typedef BOOL(WINAPI * CopyFileEx)(LPCSTR, LPCSTR, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD);
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "CopyFileExA");
    if (found != nullptr)
        job->copied = reinterpret_cast<CopyFileEx>(reinterpret_cast<void (*)()>(found))(
            job->source, job->target, RecordCopyProgress, job, nullptr, job->failIfExists ? COPY_FILE_FAIL_IF_EXISTS : 0);
    else
        job->copied = CopyFileA(job->source, job->target, job->failIfExists);
    job->error = GetLastError();
    return 0;
}

void ShowShareOfStep(void* data)
{
    const CopyJob* job = static_cast<const CopyJob*>(data);
    if (job->permille > 0)
        job->report->ShareOfStep(job->permille);
}

// CopyFileA, run by a worker thread for a large file (as sourceFacts tell, when read) while this
// thread answers what is sent to its windows. The last error is the copy's.
BOOL CopyAnswering(const char* source, const char* target, BOOL failIfExists, const WIN32_FIND_DATAA* sourceFacts,
                   EngineReport& report)
{
    CopyJob job = {source, target, failIfExists, FALSE, 0, 0, &report};
    DWORD threadId;  // Windows 95 starts no thread without a place for its id
    KernelObject worker;
    if (sourceFacts != nullptr && (sourceFacts->nFileSizeHigh != 0 || sourceFacts->nFileSizeLow >= kWorkerFileBytes))
        worker.Reset(CreateThread(nullptr, 0, CopyOnWorker, &job, 0, &threadId));
    if (!worker.IsOpen())
        return CopyFileA(source, target, failIfExists);
    report.ShareOfStep(0);
    WaitAnswering(worker.Get(), ShowShareOfStep, &job);
    SetLastError(job.error);
    return job.copied;
}

// Adds a file to the size the uninstall entry shows: one copied, or one in place already when the
// install runs from the installed copy. Files kept, skipped or not copied are not counted. True.
bool CountInstalled(const WIN32_FIND_DATAA* facts)
{
    if (facts != nullptr)
        installState.installedBytes += (static_cast<ULONGLONG>(facts->nFileSizeHigh) << 32) | facts->nFileSizeLow;
    return true;
}

// A registration that could not be written leaves an installation the system's list cannot
// remove: the user is told so, with the platform's reason, and the outcome is incomplete.
void CheckRegistrationWrite(LONG result, const char* what, EngineReport& report)
{
    if (result == ERROR_SUCCESS) {
        LogAction(LogValueWritten, what);
        return;
    }
    installState.installIncomplete = true;
    LogAction(LogFailure, what, static_cast<DWORD>(result));
    char text[kMessageCapacity];
    CopyText(text, LoadMessage(IDS_INSTALL_INCOMPLETE));
    AppendSystemReason(text, static_cast<DWORD>(result), true);
    report.Failure(text);
}

void CreateShortcutsAndRegister(const Package& package, EngineReport& report)
{
    if (package.residentProgram) {
        UpdateShortcuts(package, Startup, MakeShortcuts, report);
    } else {
        if (installState.wantMenuShortcuts)
            UpdateShortcuts(package, ProgramMenu, MakeShortcuts, report);
        if (installState.wantDesktopShortcut)
            UpdateShortcuts(package, Desktop, MakeShortcuts, report);
    }
    // Without the installed copy's path the uninstall entry would run nothing.
    char entryKey[2 * kPathCapacity];
    if (!CopyText(entryKey, "HKEY_LOCAL_MACHINE\\") || !AppendText(entryKey, kUninstallKey) ||
        !AppendText(entryKey, "\\") || !AppendText(entryKey, package.installKey))
        CopyText(entryKey, package.installKey);
    ResolvedEntry program = ResolveInstallEntry(package, kInstallerEntry);
    CheckRegistrationWrite(program.resolved ? WriteUninstallEntry(package, program.target) : ERROR_FILENAME_EXCED_RANGE,
                           entryKey, report);
    CheckRegistrationWrite(WriteApplicationKey(), kApplicationKeyForLog, report);
}

// The keys the setup file names for removal: a later version may no longer name them.
void RecordRegistryKeys(const Package& package)
{
    char value[kPathCapacity + 1];
    for (unsigned i = 1; ReadNumberedEntry(package.infPath, kRegSection, i, value, sizeof value) != 0; ++i) {
        if (lstrlenA(value) >= static_cast<int>(kPathCapacity))
            continue;
        RecordMade(RecordKind::Key, value);
        // An extension or a class that is not there yet becomes the program's to remove.
        HKEY root;
        const char* subKey;
        RegistryKey key;
        if (SplitRegEntry(value, &root, &subKey) && JudgeRegistryKey(root, subKey) == KeyShare::ClassName &&
            !key.Open(root, subKey, KEY_READ))
            RecordMade(RecordKind::CreatedKey, value);
    }
}

}  // namespace

bool MakeFolderTree(char* path, EngineReport& report)
{
    FolderFailure failure;
    if (CreateFolderTree(path, &failure))
        return true;
    installState.installIncomplete = true;
    ReportFolderFailure(report, failure);
    return false;
}

void RunInstallStep(const Package& package, int step, EngineReport& report)
{
    PlanStep planned = InstallStepAt(package.fileCount, step);
    if (planned.kind == StepKind::MakeFolder) {
        char record[kPathCapacity];
        if (MakeFolderTree(installState.installDir, report) && InstallRecordPath(package, record))
            OpenInstallRecord(record);
    } else if (planned.kind == StepKind::CopyEntry) {
        ResolvedEntry entry = ResolveInstallEntry(package, planned.entry);
        if (!entry.resolved)
            ReportUnresolvedEntry(package, report, planned.entry);
        else if (CopyEntryFile(entry,
                               planned.entry == kInstallerEntry ? ReplaceSilently
                               : entry.leavesItsFolder         ? NeverReplace
                                                               : AskBeforeReplacingNewer,
                               report) &&
                 planned.entry >= 1 && entry.mayRemove)
            RecordMade(RecordKind::File, entry.target);
    } else {
        RecordRegistryKeys(package);
        CreateShortcutsAndRegister(package, report);
        CloseInstallRecord();
    }
}

bool CopyEntryFile(const ResolvedEntry& entry, ReplaceRule rule, EngineReport& report)
{
    const char* source = entry.source;
    const char* target = entry.target;
    // Run from the installed copy, every entry is its own source: nothing to copy, and the copy
    // onto itself would fail with a sharing violation for each file. A copy that refuses to
    // replace anything is asked first, and only a refusal is looked into: for a new file the
    // look-ups of names and identities cost more than copying it.
    bool skipped = installState.reducedInstall && lstrcmpA(source, kReducedOnlySource) == 0;
    if (skipped && IsSameFile(source, target))
        return true;
    if (!PrepareTargetFolder(target, report))
        return false;

    WIN32_FIND_DATAA facts;
    const WIN32_FIND_DATAA* sourceFacts = ReadFileFacts(source, &facts) ? &facts : nullptr;
    bool copied = false;
    if (!skipped) {
        copied = CopyAnswering(source, target, TRUE, sourceFacts, report) != 0;
        if (!copied) {
            DWORD error = GetLastError();
            if (IsSameFile(source, target))
                return CountInstalled(sourceFacts);
            if (error == ERROR_SHARING_VIOLATION) {
                ReportCopyFailure(report, IDS_FILE_IN_USE, target, error);
                return false;
            }
            if (error != ERROR_FILE_EXISTS) {
                ReportCopyFailure(report, IDS_COPY_FAILED, source, error);
                return false;
            }
            // A destination that ".." leads out of its folder may be anybody's file.
            if (rule == NeverReplace) {
                ReportCopyFailure(report, IDS_COPY_FAILED, target, error);
                return false;
            }
            // The copy that refuses an existing target says so before it looks at sharing, so
            // a target held open shows only when it is replaced. A read-only, hidden or system
            // target, which the platform refuses to replace, loses those attributes first. Any
            // refusal is reported with the platform's reason: the file was not installed.
            if (rule == ReplaceSilently || ConfirmOverwrite(source, target, report)) {
                DWORD attributes = GetFileAttributesA(target);
                if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
                    SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
                copied = CopyAnswering(source, target, FALSE, sourceFacts, report) != 0;
                if (!copied) {
                    error = GetLastError();
                    ReportCopyFailure(report, error == ERROR_SHARING_VIOLATION ? IDS_FILE_IN_USE : IDS_COPY_FAILED,
                                      target, error);
                    return false;
                }
            }
        }
    }
    LogAction(copied ? LogFileCopied : LogFileKept, target);
    if (copied)
        CountInstalled(sourceFacts);
    // The copy, a kept file, or one an earlier installation left for a skipped entry loses
    // read-only, hidden and system. A fresh copy takes the attributes of its source, so a copy
    // of a plain file is plain already: the call, which costs Wine about as much as copying a
    // small file, is left out for it.
    if (!copied || sourceFacts == nullptr ||
        (sourceFacts->dwFileAttributes & ~(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL)) != 0)
        SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    return copied;
}

bool ConfirmOverwrite(const char* source, const char* target, EngineReport& report)
{
    FileSearch sourceSearch;
    if (!sourceSearch.First(source))
        return false;  // nothing to replace the target with
    FileSearch targetSearch;
    if (!targetSearch.First(target))
        return true;  // nothing left to protect
    // The searches give each file's name as it is stored, for the question.
    const WIN32_FIND_DATAA& sourceData = sourceSearch.findData;
    const WIN32_FIND_DATAA& targetData = targetSearch.findData;

    if (CompareFileTime(&sourceData.ftLastWriteTime, &targetData.ftLastWriteTime) >= 0)
        return true;

    char sourceStamp[kStampCapacity];
    char targetStamp[kStampCapacity];
    FormatFileStamp(sourceStamp, sizeof sourceStamp, sourceData.cFileName, sourceData.ftLastWriteTime);
    FormatFileStamp(targetStamp, sizeof targetStamp, targetData.cFileName, targetData.ftLastWriteTime);
    char question[kMessageCapacity];
    // Extreme date formats could make the question too long; the user is still asked.
    if (!FormatMessageInto(question, sizeof question, IDS_OVERWRITE_QUESTION, target, targetStamp, sourceStamp))
        FormatMessageInto(question, sizeof question, IDS_OVERWRITE_QUESTION, target, "", "");
    return report.Ask(Question::ReplaceNewerFile, question, LoadMessage(IDS_OVERWRITE_CAPTION));
}

void FormatFileStamp(char* out, size_t capacity, const char* name, const FILETIME& lastWrite)
{
    FILETIME local;
    SYSTEMTIME fields;
    char date[kStampPartCapacity] = "";
    char time[kStampPartCapacity] = "";
    if (FileTimeToLocalFileTime(&lastWrite, &local) && FileTimeToSystemTime(&local, &fields)) {
        if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &fields, nullptr, date, sizeof date) == 0)
            date[0] = '\0';
        if (GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_FORCE24HOURFORMAT, &fields, nullptr, time, sizeof time) == 0)
            time[0] = '\0';
    }
    if (capacity == 0)
        return;
    out[0] = '\0';
    // Written piece by piece so that nothing beyond capacity is touched; a text that does not
    // fit whole is left empty.
    if (!AppendText(out, capacity, date) || !AppendText(out, capacity, " ") || !AppendText(out, capacity, time) ||
        !AppendText(out, capacity, "  ") || !AppendText(out, capacity, name))
        out[0] = '\0';
}
