// Two-phase uninstall. The request runs from the installed copy: it confirms, copies the
// program into the system folder and starts that copy as the worker, which can delete the
// installed copy because it does not run from it. The worker deletes the registration, lets
// the request go, and runs the removal in its dialog. Both go on only for the copy that the
// registration names: "/r" run from a package, a CD or a download folder removes nothing.
#include "uninstall/handoff.h"

#include "setup/exit_codes.h"
#include "base/handle.h"
#include "base/log.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/path.h"
#include "base/text.h"
#include "base/window.h"
#include "res/resource.h"
#include "setup/install_state.h"
#include "shell/registration.h"
#include "uninstall/reboot_delete.h"
#include "uninstall/removal.h"

namespace {

// What the removal runs with: the package, the report it answers to, the entry saved before it
// was deleted, and whether the dialog closes by itself at the end.
struct RemovalRun {
    const Package* package;
    EngineReport* report;
    const SavedUninstallEntry* saved;
    bool closeByItself;
};

// Runs the removal; when a file entry stayed, the saved entry is written back so that the user
// can uninstall again.
void RunRemoval(RemovalRun& run);
INT_PTR CALLBACK UninstallDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The worker's quoted path, the switches handed on (a log's path among them), "x" and the
// installed copy's path.
constexpr size_t kCommandLineCapacity = 3 * kPathCapacity + 64;
constexpr size_t kStatusCapacity = 360;
constexpr UINT_PTR kRemovalTimer = 1;
constexpr UINT kRemovalDelayMs = 300;
constexpr DWORD kHandOffWaitMs = 1000;

int ReportWorkerNotStarted(EngineReport& report)
{
    report.Failure(LoadMessage(IDS_WORKER_FAILED));
    return kExitFailed;
}

// True when programPath is the installed copy that the uninstall entry names; otherwise the
// user is told that nothing was removed. The folder of any other copy is not the install
// folder: it may be a package unpacked among the user's own files.
bool IsInstalledCopy(const Package& package, const char* programPath, EngineReport& report)
{
    // Another entry that names this copy too means that another package was installed over
    // this one: the setup file here need not be the one this entry was made with.
    char otherTitle[kPathCapacity];
    if (IsRegisteredProgram(package, programPath) && !FindOtherEntry(package, programPath, false, otherTitle))
        return true;
    char text[kMessageCapacity];
    if (!FormatMessageInto(text, sizeof text, IDS_NOT_INSTALLED_COPY, programPath, package.title))
        FormatMessageInto(text, sizeof text, IDS_NOT_INSTALLED_COPY, package.exeName, package.title);
    report.Failure(text, package.title);
    return false;
}

bool ConfirmUninstall(const Package& package, EngineReport& report)
{
    char text[kMessageCapacity] = "";
    FormatMessageInto(text, sizeof text, IDS_UNINSTALL_CONFIRM, package.title);
    // Each language carries its own separator at the start of the resident-program note.
    if (package.residentProgram)
        AppendText(text, LoadMessage(IDS_RESIDENT_NOTE));
    return report.Ask(Question::Uninstall, text, package.title);
}

// Copies this program into the system folder as the worker, under its own name or, where a
// file of that name is already there (another vendor's, or a worker an earlier uninstall left
// until the next restart), under the first free name "<name>_<n>.<ext>": a file this program
// did not make is never replaced.
bool CopyWorker(const Package& package, const char* systemDir, char (&workerPath)[kPathCapacity])
{
    constexpr int kWorkerNames = 100;
    for (int n = 0; n < kWorkerNames; ++n) {
        char name[kPathCapacity];
        if (!CopyText(name, package.exeName))
            return false;
        if (n > 0) {
            char* extension = ExtensionPart(name);
            char suffix[kPathCapacity];
            if (!CopyText(suffix, extension != nullptr ? extension : ""))
                return false;
            if (extension != nullptr)
                *extension = '\0';
            if (!AppendText(name, "_") || !AppendText(name, NumberText(static_cast<unsigned>(n))) ||
                !AppendText(name, suffix))
                return false;
        }
        if (!JoinPath(workerPath, sizeof workerPath, systemDir, name))
            return false;
        if (CopyFileA(installState.modulePath, workerPath, TRUE))
            return true;
        // Only a file in the way sends the copy to the next name.
        DWORD attributes = GetFileAttributesA(workerPath);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
    }
    return false;
}

// "\"<worker>\" [switches] x <installed copy>": the worker takes everything after "x " as the
// path, so that path needs no quotes; the worker's own path is quoted, since the program's name
// may hold a blank. A line that does not fit is refused: a cut path names another file.
bool MakeWorkerCommandLine(const char* workerPath, const char* switches, char (&commandLine)[kCommandLineCapacity])
{
    return CopyText(commandLine, "\"") && AppendText(commandLine, workerPath) && AppendText(commandLine, "\" ") &&
           AppendText(commandLine, switches) && AppendText(commandLine, " x ") &&
           AppendText(commandLine, installState.modulePath);
}

// The events by which a worker tells a waiting request the outcome: "<hand-off name>/0" when
// nothing failed, "<hand-off name>/1603" when something did.
bool MakeOutcomeEventName(const char* installedPath, bool failed, char (&name)[kPathCapacity])
{
    return MakeHandOffEventName(installedPath, name, sizeof name) && AppendText(name, failed ? "/1603" : "/0");
}

// The event a worker holds while it removes the installation of installedPath.
bool MakeRunningEventName(const char* installedPath, char (&name)[kPathCapacity])
{
    return MakeHandOffEventName(installedPath, name, sizeof name) && AppendText(name, "/running");
}

// True while a worker removes that installation. A second request then ends at once: the
// registration has gone already, and a box of its own would keep in use the program that the
// worker is about to delete.
bool UninstallRunning(const char* installedPath)
{
    char name[kPathCapacity];
    KernelObject running;
    if (MakeRunningEventName(installedPath, name))
        running.Reset(OpenEventA(SYNCHRONIZE, FALSE, name));
    return running.IsOpen();
}

// Starts the worker and waits until it tells the outcome (just before it removes this program,
// which cannot be deleted while it runs) or ends; the outcome is the uninstall's exit code.
int RunWorkerToEnd(char* commandLine, EngineReport& report)
{
    char name[kPathCapacity];
    KernelObject complete;
    KernelObject failed;
    if (MakeOutcomeEventName(installState.modulePath, false, name))
        complete.Reset(CreateEventA(nullptr, TRUE, FALSE, name));
    if (MakeOutcomeEventName(installState.modulePath, true, name))
        failed.Reset(CreateEventA(nullptr, TRUE, FALSE, name));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!complete.IsOpen() || !failed.IsOpen() ||
        !CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return ReportWorkerNotStarted(report);
    KernelObject thread(process.hThread);
    KernelObject worker(process.hProcess);
    HANDLE ends[] = {complete.Get(), failed.Get(), worker.Get()};
    DWORD which = WaitForMultipleObjects(3, ends, FALSE, INFINITE);
    if (which == WAIT_OBJECT_0)
        return kExitComplete;
    if (which == WAIT_OBJECT_0 + 1)
        return kExitFailed;
    DWORD exitCode = static_cast<DWORD>(kExitFailed);
    GetExitCodeProcess(worker.Get(), &exitCode);
    return static_cast<int>(exitCode);
}

// The report of a worker whose request waits: it passes everything on to the unattended report
// and, before the installed program is removed, tells the request the outcome so far, so that
// the request ends and its program can be deleted (the removal waits a moment for that).
class ReleasingReport : public EngineReport {
public:
    ReleasingReport(EngineReport& inner, const char* installedPath) : inner_(inner), installedPath_(installedPath) {}
    void Step(int step, int steps) override { inner_.Step(step, steps); }
    void ShareOfStep(int permille) override { inner_.ShareOfStep(permille); }
    bool Ask(Question kind, const char* text, const char* caption) override { return inner_.Ask(kind, text, caption); }
    void Failure(const char* text, const char* caption) override
    {
        failed_ = true;
        inner_.Failure(text, caption);
    }
    void ProgramRemovalNext(const char* programPath) override;

private:
    EngineReport& inner_;
    const char* installedPath_;
    bool failed_ = false;
};

void ReleasingReport::ProgramRemovalNext(const char*)
{
    char name[kPathCapacity];
    KernelObject outcome;
    if (MakeOutcomeEventName(installedPath_, failed_, name))
        outcome.Reset(OpenEventA(EVENT_MODIFY_STATE, FALSE, name));
    if (outcome.IsOpen())
        SetEvent(outcome.Get());
}

void OnInitDialog(HWND dialog, LPARAM runData)
{
    RemovalRun* run = reinterpret_cast<RemovalRun*>(runData);
    installState.ownerWindow = dialog;
    if (!run->closeByItself)
        static_cast<BoxReport*>(run->report)->SetOwner(dialog);
    SetWindowLongPtrA(dialog, GWLP_USERDATA, runData);
    CenterWindow(dialog);
    SetTimer(dialog, kRemovalTimer, kRemovalDelayMs, nullptr);
    SetWindowTextA(dialog, FormatMessageText(IDS_UNINSTALL_CAPTION, run->package->title));
}

void OnTimer(HWND dialog)
{
    // The removal runs once; message boxes it raises run message loops of their own.
    KillTimer(dialog, kRemovalTimer);
    SetForegroundWindow(dialog);
    RemovalRun* run = reinterpret_cast<RemovalRun*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    RunRemoval(*run);
    if (run->closeByItself) {
        EndDialog(dialog, 1);
        return;
    }

    // The status reads "uninstalled" even after the engine reported failures: the user has
    // seen those in its own boxes.
    char status[kStatusCapacity];
    if (FormatMessageInto(status, sizeof status, IDS_UNINSTALLED, run->package->title))
        SetDlgItemTextA(dialog, IDC_UNINSTALL_STATUS, status);
    HWND finish = GetDlgItem(dialog, IDC_FINISH);
    EnableWindow(finish, TRUE);
    SetFocus(finish);
    SetForegroundWindow(dialog);
}

// Finish. The close box, Alt+F4 and Escape arrive under the same id (IDCANCEL), and may come
// before the removal has run: the registration is already gone then, and ending the dialog
// would leave every file with nothing to remove them by. Finish is enabled once it has run.
void OnCommand(HWND dialog, int id)
{
    if (id == IDC_FINISH && IsWindowEnabled(GetDlgItem(dialog, IDC_FINISH)))
        EndDialog(dialog, 1);
}

}  // namespace

bool MakeHandOffEventName(const char* installedPath, char* name, size_t capacity)
{
    if (!CopyText(name, capacity, installedPath)) {
        if (capacity > 0)
            name[0] = '\0';
        return false;
    }
    // "/" is legal in object names; both processes derive the name from the same path text
    // under the same code page, so they arrive at the same name.
    ReplaceChar(name, '\\', '/');
    return true;
}

int RequestUninstall(const Package& package, EngineReport& report, const char* workerSwitches)
{
    if (UninstallRunning(installState.modulePath)) {
        LogLine("an uninstall of this installation is already running");
        return workerSwitches != nullptr ? kExitFailed : kExitModeEnded;
    }
    if (!ConfirmUninstall(package, report))
        return kExitCancelled;
    if (!IsInstalledCopy(package, installState.modulePath, report))
        return kExitFailed;

    char systemDir[kPathCapacity];
    UINT length = GetSystemDirectoryA(systemDir, sizeof systemDir);
    char workerPath[kPathCapacity];
    char commandLine[kCommandLineCapacity];
    if (length == 0 || length >= sizeof systemDir || !CopyWorker(package, systemDir, workerPath) ||
        !MakeWorkerCommandLine(workerPath, workerSwitches != nullptr ? workerSwitches : "", commandLine))
        return ReportWorkerNotStarted(report);
    SetCurrentDirectoryA(systemDir);
    if (workerSwitches != nullptr)
        return RunWorkerToEnd(commandLine, report);

    char eventName[kPathCapacity];
    KernelObject handOff;
    if (MakeHandOffEventName(installState.modulePath, eventName, sizeof eventName))
        handOff.Reset(CreateEventA(nullptr, FALSE, FALSE, eventName));

    if (WinExec(commandLine, SW_SHOWNORMAL) < 32) {
        ReportWorkerNotStarted(report);
    } else if (handOff.IsOpen()) {
        // The worker signals once the registration is gone, so the system's list of removable
        // programs no longer shows the application when this process ends.
        WaitForSingleObject(handOff.Get(), kHandOffWaitMs);
    }
    return kExitModeEnded;
}

int RunUninstallWorker(const Package& package, EngineReport& report, WorkerWindow window)
{
    // The installed copy's path is the working path the entry split into sourceDir and exeName
    // (so it fits). A worker started by hand is judged like the request: "x <path>" must name
    // the installed copy, or nothing is removed.
    char installedPath[kPathCapacity];
    if (!CopyText(installedPath, package.sourceDir) || !AppendText(installedPath, package.exeName) ||
        !IsInstalledCopy(package, installedPath, report))
        return window == WorkerWindow::Dialog ? kExitModeEnded : kExitFailed;
    char runningName[kPathCapacity];
    KernelObject running;
    if (MakeRunningEventName(installedPath, runningName))
        running.Reset(CreateEventA(nullptr, TRUE, FALSE, runningName));

    SavedUninstallEntry saved;
    SaveUninstallEntry(package, &saved);
    DeleteUninstallEntry(package);

    char eventName[kPathCapacity];
    KernelObject handOff;
    if (MakeHandOffEventName(installedPath, eventName, sizeof eventName))
        handOff.Reset(OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName));
    // Started by hand there is no request waiting, and no event.
    if (handOff.IsOpen())
        SetEvent(handOff.Get());

    // Always the folder of the copy that was started with "/r", whatever the registration said.
    CopyText(installState.installDir, package.sourceDir);
    ReleasingReport releasing(report, installedPath);
    EngineReport& removalReport = window == WorkerWindow::Dialog ? report : releasing;
    RemovalRun run = {&package, &removalReport, &saved, window == WorkerWindow::ClosingByItself};
    if (window == WorkerWindow::None)
        RunRemoval(run);
    else
        DialogBoxParamA(installState.instance, MAKEINTRESOURCEA(IDD_UNINSTALL), nullptr, UninstallDialog,
                        reinterpret_cast<LPARAM>(&run));

    // The worker copy in the system folder cannot delete itself while it runs.
    char ownPath[kPathCapacity];
    DWORD length = GetModuleFileNameA(installState.instance, ownPath, sizeof ownPath);
    if (length != 0 && length < sizeof ownPath)
        ScheduleDeleteOnReboot(ownPath);
    return window == WorkerWindow::Dialog ? kExitModeEnded : kExitComplete;
}

namespace {

void RunRemoval(RemovalRun& run)
{
    bool keptForRetry = false;
    RemoveInstalledFiles(*run.package, *run.report, &keptForRetry);
    // A file stayed (for entry 1, message 28 asked the user to close the application and
    // uninstall again): the program stays in the system's list until it has really gone.
    if (keptForRetry)
        RestoreUninstallEntry(*run.package, *run.saved);
}

INT_PTR CALLBACK UninstallDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, lParam);
        break;
    case WM_TIMER:
        OnTimer(dialog);
        break;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        break;
    }
    return 0;
}

}  // namespace
