// The install step sequence that the copy page runs, one step per posted command, with its
// progress bar: the folder, each entry copied under the overwrite rules (asking before a newer
// file is replaced), then the shortcuts and the registration.
#include "wizard/install_steps.h"

#include <commctrl.h>
#include <prsht.h>

#include "base/file_search.h"
#include "base/folders.h"
#include "base/handle.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/path.h"
#include "base/same_file.h"
#include "base/text.h"
#include "base/window.h"
#include "res/resource.h"
#include "setup/entries.h"
#include "setup/entry_reader.h"
#include "setup/install_state.h"
#include "shell/registration.h"
#include "shell/shortcuts.h"

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

// A copy failure, with the path it concerns, in a box owned by the copy page; error is what
// the platform gave as the reason (0: none). The installation is then incomplete.
void ReportCopyFailure(int id, const char* path, DWORD error = 0)
{
    installState.installIncomplete = true;
    char text[kMessageCapacity];
    if (!FormatMessageInto(text, sizeof text, id, path))
        CopyText(text, FormatMessageText(id, path));
    AppendSystemReason(text, error);
    ShowMessageBox(installState.ownerWindow, text, nullptr, MB_ICONERROR);
}

// An entry whose destination does not fit in a path is not copied; the user learns which
// one by the source text as the setup information file gives it.
void ReportUnresolvedEntry(int entry)
{
    char source[kPathCapacity] = "";
    if (entry == kInstallerEntry) {
        CopyText(source, installState.exeName);
    } else if (entry == kSetupFileEntry) {
        CopyText(source, installState.infName);
    } else {
        ReadNumberedEntry(kInstallSection, entry, source, sizeof source);
        char* comma = FindChar(source, ',');
        if (comma != nullptr)
            *comma = '\0';
    }
    ReportCopyFailure(IDS_COPY_FAILED, source);
}

// Makes sure the folder of entryTarget exists; false when it could not be made (reported).
bool PrepareTargetFolder()
{
    char* name = FileNamePart(installState.entryTarget);
    if (name == installState.entryTarget)
        return true;
    char saved = *name;
    *name = '\0';
    bool ok = GetFileAttributesA(installState.entryTarget) != INVALID_FILE_ATTRIBUTES ||
              CreateFolderTree(installState.entryTarget, installState.ownerWindow);
    *name = saved;
    return ok;
}

// One copy run by a worker thread, with what the platform reports of its progress.
struct CopyJob {
    const char* source;
    const char* target;
    BOOL failIfExists;
    BOOL copied;
    DWORD error;
    volatile LONG permille;
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

// The bar as AdvanceProgress last found it on its page, and its width.
HWND progressPage;
HWND progressBar;
int progressWidth;
// While a large file is copied the bar moves within the current step, on a range finer by
// copyScale for the time of the copy (0 while it keeps its own range).
HWND copyBar;
int copyScale;

void ShowShareOfStep(void* data)
{
    LONG permille = static_cast<CopyJob*>(data)->permille;
    int lastStep = installState.fileCount + 3;
    int scale = 0xFFFF / lastStep;
    if (scale > kPermille)
        scale = kPermille;
    if (permille <= 0 || scale < 2)
        return;
    copyScale = scale;
    SendMessageA(copyBar, PBM_SETRANGE, 0, MAKELPARAM(0, lastStep * scale));
    SendMessageA(copyBar, PBM_SETPOS, installState.stepIndex * scale + MulDiv(scale, permille, kPermille), 0);
}

// CopyFileA, run by a worker thread for a large file (as sourceFacts tell, when read) while this
// thread repaints the page and answers what is sent to it. The last error is the copy's.
BOOL CopyAnswering(const char* source, const char* target, BOOL failIfExists, const WIN32_FIND_DATAA* sourceFacts)
{
    CopyJob job = {source, target, failIfExists, FALSE, 0, 0};
    DWORD threadId;  // Windows 95 starts no thread without a place for its id
    KernelObject worker;
    if (sourceFacts != nullptr && (sourceFacts->nFileSizeHigh != 0 || sourceFacts->nFileSizeLow >= kWorkerFileBytes))
        worker.Reset(CreateThread(nullptr, 0, CopyOnWorker, &job, 0, &threadId));
    if (!worker.IsOpen())
        return CopyFileA(source, target, failIfExists);

    // The bar draws again (see AdvanceProgress) while the page repaints during the copy.
    copyBar = GetDlgItem(installState.ownerWindow, IDC_PROGRESS);
    SendMessageA(copyBar, WM_SETREDRAW, TRUE, 0);
    copyScale = 0;
    WaitAnswering(worker.Get(), ShowShareOfStep, &job);
    if (copyScale != 0) {
        SendMessageA(copyBar, PBM_SETRANGE, 0, MAKELPARAM(0, installState.fileCount + 3));
        SendMessageA(copyBar, PBM_SETPOS, installState.stepIndex, 0);
    }
    SetLastError(job.error);
    return job.copied;
}

// The status line takes the place of the hidden progress bar: the text that owns up to a
// failure runs over several lines.
void WidenStatusOverProgress(HWND page)
{
    HWND status = GetDlgItem(page, IDC_STATUS);
    RECT statusRect;
    RECT progressRect;
    GetWindowRect(status, &statusRect);
    GetWindowRect(GetDlgItem(page, IDC_PROGRESS), &progressRect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&statusRect), 2);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&progressRect), 2);
    if (progressRect.bottom > statusRect.bottom)
        MoveWindow(status, statusRect.left, statusRect.top, statusRect.right - statusRect.left,
                   progressRect.bottom - statusRect.top, TRUE);
}

// The closing state of the page: Finish only, the outcome, and the text that tells how to
// uninstall. After a failed step the outcome never reads as success.
void FinishSequence(HWND page)
{
    ShowWindow(GetDlgItem(page, IDC_PROGRESS), SW_HIDE);
    if (installState.installIncomplete) {
        WidenStatusOverProgress(page);
        SetDlgItemTextA(page, IDC_STATUS, LoadMessage(IDS_INSTALL_INCOMPLETE));
    } else {
        SetDlgItemTextA(page, IDC_STATUS, LoadMessage(IDS_INSTALL_SUCCEEDED));
    }
    if (installState.uninstallShortcutName[0] != '\0')
        SetDlgItemTextA(page, IDC_UNINSTALL_HINT, FormatMessageText(IDS_UNINSTALL_HINT, installState.uninstallShortcutName));
    installState.installDone = true;
    ShowWindow(GetDlgItem(page, IDC_UNINSTALL_HINT), SW_SHOW);
    PostMessageA(installState.sheetWindow, PSM_SETWIZBUTTONS, 0, PSWIZB_FINISH);
}

// A registration that could not be written leaves an installation the system's list cannot
// remove: the user is told so, with the platform's reason, and the outcome is incomplete.
void CheckRegistrationWrite(LONG result)
{
    if (result == ERROR_SUCCESS)
        return;
    installState.installIncomplete = true;
    char text[kMessageCapacity];
    CopyText(text, LoadMessage(IDS_INSTALL_INCOMPLETE));
    AppendSystemReason(text, static_cast<DWORD>(result), true);
    ShowMessageBox(installState.ownerWindow, text, nullptr, MB_ICONERROR);
}

void CreateShortcutsAndRegister()
{
    if (installState.residentProgram) {
        UpdateShortcuts(Startup, MakeShortcuts);
    } else {
        if (installState.wantMenuShortcuts)
            UpdateShortcuts(ProgramMenu, MakeShortcuts);
        if (installState.wantDesktopShortcut)
            UpdateShortcuts(Desktop, MakeShortcuts);
    }
    // Without the installed copy's path the uninstall entry would run nothing.
    CheckRegistrationWrite(ResolveInstallEntry(kInstallerEntry) ? WriteUninstallEntry(installState.entryTarget)
                                                                : ERROR_FILENAME_EXCED_RANGE);
    CheckRegistrationWrite(WriteApplicationKey());
}

// Moves the progress bar on by one step. The platform's bar repaints itself at once on every
// change of its position, which for thousands of small files costs more than copying them: a
// step that does not move the fill by a whole pixel changes the position with drawing off.
// Switching drawing costs about as much again, so it is switched only where a run of such
// steps begins and ends; the last step always moves the fill and draws.
void AdvanceProgress(HWND page, int position, int range)
{
    if (page != progressPage || position == 0) {
        progressPage = page;
        progressBar = GetDlgItem(page, IDC_PROGRESS);
        RECT client;
        GetClientRect(progressBar, &client);
        progressWidth = client.right - client.left;
    }
    bool visible = range <= 0 || MulDiv(progressWidth, position, range) != MulDiv(progressWidth, position + 1, range);
    bool drawing = (GetWindowLongA(progressBar, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible != drawing)
        SendMessageA(progressBar, WM_SETREDRAW, visible, 0);
    SendMessageA(progressBar, PBM_DELTAPOS, 1, 0);
}

}  // namespace

void RunInstallStep()
{
    // A stray command after the end (the page's id 1 is also IDOK) must not run the last
    // step a second time.
    if (installState.installDone)
        return;
    HWND page = installState.ownerWindow;
    int step = installState.stepIndex;
    int lastStep = installState.fileCount + 3;

    if (step == 0) {
        SendDlgItemMessageA(page, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, lastStep));
        if (!CreateFolderTree(installState.installDir, installState.ownerWindow))
            installState.installIncomplete = true;
    } else if (step < lastStep) {
        int entry = step - 2;
        bool leavesItsFolder = false;
        if (ResolveInstallEntry(entry, nullptr, &leavesItsFolder))
            CopyEntryFile(entry == kInstallerEntry ? ReplaceSilently
                          : leavesItsFolder        ? NeverReplace
                                                   : AskBeforeReplacingNewer);
        else
            ReportUnresolvedEntry(entry);
    } else {
        CreateShortcutsAndRegister();
    }

    AdvanceProgress(page, step, lastStep);
    ++installState.stepIndex;
    if (installState.stepIndex <= lastStep)
        PostMessageA(page, WM_COMMAND, kStepCommand, 0);
    else
        FinishSequence(page);
}

bool CopyEntryFile(ReplaceRule rule)
{
    const char* source = installState.entrySource;
    const char* target = installState.entryTarget;
    // Run from the installed copy, every entry is its own source: nothing to copy, and the copy
    // onto itself would fail with a sharing violation for each file. A copy that refuses to
    // replace anything is asked first, and only a refusal is looked into: for a new file the
    // look-ups of names and identities cost more than copying it.
    bool skipped = installState.reducedInstall && lstrcmpA(source, kReducedOnlySource) == 0;
    if (skipped && IsSameFile(source, target))
        return true;
    if (!PrepareTargetFolder()) {
        installState.installIncomplete = true;
        return false;
    }

    WIN32_FIND_DATAA facts;
    const WIN32_FIND_DATAA* sourceFacts = ReadFileFacts(source, &facts) ? &facts : nullptr;
    bool copied = false;
    if (!skipped) {
        copied = CopyAnswering(source, target, TRUE, sourceFacts) != 0;
        if (!copied) {
            DWORD error = GetLastError();
            if (IsSameFile(source, target))
                return true;
            if (error == ERROR_SHARING_VIOLATION) {
                ReportCopyFailure(IDS_FILE_IN_USE, target);
                return false;
            }
            if (error != ERROR_FILE_EXISTS) {
                ReportCopyFailure(IDS_COPY_FAILED, source, error);
                return false;
            }
            // A destination that ".." leads out of its folder may be anybody's file.
            if (rule == NeverReplace) {
                ReportCopyFailure(IDS_COPY_FAILED, target);
                return false;
            }
            // The copy that refuses an existing target says so before it looks at sharing, so
            // a target held open shows only when it is replaced. That is still reported: the
            // file was not installed. Other refusals (a read-only or hidden target) keep the
            // old file silently; it loses those attributes below and a later install replaces it.
            if (rule == ReplaceSilently || ConfirmOverwrite(source, target)) {
                copied = CopyAnswering(source, target, FALSE, sourceFacts) != 0;
                if (!copied && GetLastError() == ERROR_SHARING_VIOLATION) {
                    ReportCopyFailure(IDS_FILE_IN_USE, target);
                    return false;
                }
            }
        }
    }
    // The copy, a kept file, or one an earlier installation left for a skipped entry loses
    // read-only, hidden and system. A fresh copy takes the attributes of its source, so a copy
    // of a plain file is plain already: the call, which costs Wine about as much as copying a
    // small file, is left out for it.
    if (!copied || sourceFacts == nullptr ||
        (sourceFacts->dwFileAttributes & ~(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL)) != 0)
        SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    return copied;
}

bool ConfirmOverwrite(const char* source, const char* target)
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
    return ShowMessageBox(installState.ownerWindow, question, LoadMessage(IDS_OVERWRITE_CAPTION),
                          MB_ICONQUESTION | MB_YESNO) == IDYES;
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
