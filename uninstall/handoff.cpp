// Two-phase uninstall. The request runs from the installed copy: it confirms, copies the
// program into the system folder and starts that copy as the worker, which can delete the
// installed copy because it does not run from it. The worker deletes the registration, lets
// the request go, and runs the removal in its dialog. Both go on only for the copy that the
// registration names: "/r" run from a package, a CD or a download folder removes nothing.
#include "uninstall/handoff.h"

#include "base/handle.h"
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

// Runs the removal in its dialog. When the removal stops at file entry 1, the saved entry (if
// any) is written back so that the user can uninstall again.
void RunUninstallDialog(const SavedUninstallEntry* savedEntry);
INT_PTR CALLBACK UninstallDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

constexpr size_t kCommandLineCapacity = 540;
constexpr size_t kStatusCapacity = 360;
constexpr UINT_PTR kRemovalTimer = 1;
constexpr UINT kRemovalDelayMs = 300;
constexpr DWORD kHandOffWaitMs = 1000;

void ReportWorkerNotStarted()
{
    ShowMessage(nullptr, IDS_WORKER_FAILED, nullptr, MB_ICONERROR);
}

// True when programPath is the installed copy that the uninstall entry names; otherwise the
// user is told that nothing was removed. The folder of any other copy is not the install
// folder: it may be a package unpacked among the user's own files.
bool IsInstalledCopy(const char* programPath)
{
    if (IsRegisteredProgram(programPath))
        return true;
    char text[kMessageCapacity];
    if (!FormatMessageInto(text, sizeof text, IDS_NOT_INSTALLED_COPY, programPath, installState.title))
        FormatMessageInto(text, sizeof text, IDS_NOT_INSTALLED_COPY, installState.exeName, installState.title);
    ShowMessageBox(nullptr, text, installState.title, MB_ICONERROR);
    return false;
}

bool ConfirmUninstall()
{
    char text[kMessageCapacity] = "";
    FormatMessageInto(text, sizeof text, IDS_UNINSTALL_CONFIRM, installState.title);
    // Each language carries its own separator at the start of the resident-program note.
    if (installState.residentProgram)
        AppendText(text, LoadMessage(IDS_RESIDENT_NOTE));
    return ShowMessageBox(nullptr, text, installState.title, MB_ICONINFORMATION | MB_OKCANCEL) == IDOK;
}

// "<worker> x <installed copy>": the worker takes everything after "x " as the path, so the
// path needs no quotes. A line that does not fit is refused: a cut path names another file.
bool MakeWorkerCommandLine(const char* workerPath, char (&commandLine)[kCommandLineCapacity])
{
    return CopyText(commandLine, workerPath) && AppendText(commandLine, " x ") &&
           AppendText(commandLine, installState.modulePath);
}

void OnInitDialog(HWND dialog, LPARAM savedEntry)
{
    installState.ownerWindow = dialog;
    SetWindowLongPtrA(dialog, GWLP_USERDATA, savedEntry);
    CenterWindow(dialog);
    SetTimer(dialog, kRemovalTimer, kRemovalDelayMs, nullptr);
    SetWindowTextA(dialog, FormatMessageText(IDS_UNINSTALL_CAPTION, installState.title));
}

void OnTimer(HWND dialog)
{
    // The removal runs once; message boxes it raises run message loops of their own.
    KillTimer(dialog, kRemovalTimer);
    SetForegroundWindow(dialog);
    bool stopped = false;
    RemoveInstalledFiles(&stopped);
    // Message 28 asked the user to close the application and uninstall again: the program
    // stays in the system's list until it has really gone.
    const SavedUninstallEntry* saved =
        reinterpret_cast<const SavedUninstallEntry*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    if (stopped && saved != nullptr)
        RestoreUninstallEntry(*saved);

    // The status reads "uninstalled" even after the engine reported failures: the user has
    // seen those in its own boxes.
    char status[kStatusCapacity];
    if (FormatMessageInto(status, sizeof status, IDS_UNINSTALLED, installState.title))
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

void RequestUninstall()
{
    if (!ConfirmUninstall() || !IsInstalledCopy(installState.modulePath))
        return;

    char systemDir[kPathCapacity];
    UINT length = GetSystemDirectoryA(systemDir, sizeof systemDir);
    char workerPath[kPathCapacity];
    char commandLine[kCommandLineCapacity];
    if (length == 0 || length >= sizeof systemDir ||
        !JoinPath(workerPath, sizeof workerPath, systemDir, installState.exeName) ||
        !MakeWorkerCommandLine(workerPath, commandLine)) {
        ReportWorkerNotStarted();
        return;
    }

    // A worker copy left from an earlier uninstall, not yet deleted by a restart, is replaced.
    // Should the copy fail, starting whatever lies there is still worth the attempt.
    CopyFileA(installState.modulePath, workerPath, FALSE);
    SetCurrentDirectoryA(systemDir);

    char eventName[kPathCapacity];
    KernelObject handOff;
    if (MakeHandOffEventName(installState.modulePath, eventName, sizeof eventName))
        handOff.Reset(CreateEventA(nullptr, FALSE, FALSE, eventName));

    if (WinExec(commandLine, SW_SHOWNORMAL) < 32) {
        ReportWorkerNotStarted();
    } else if (handOff.IsOpen()) {
        // The worker signals once the registration is gone, so the system's list of removable
        // programs no longer shows the application when this process ends.
        WaitForSingleObject(handOff.Get(), kHandOffWaitMs);
    }
}

void RunUninstallWorker()
{
    // The installed copy's path is the working path the entry split into sourceDir and exeName
    // (so it fits). A worker started by hand is judged like the request: "x <path>" must name
    // the installed copy, or nothing is removed.
    char installedPath[kPathCapacity];
    if (!CopyText(installedPath, installState.sourceDir) || !AppendText(installedPath, installState.exeName) ||
        !IsInstalledCopy(installedPath))
        return;

    SavedUninstallEntry saved;
    SaveUninstallEntry(&saved);
    DeleteUninstallEntry();

    char eventName[kPathCapacity];
    KernelObject handOff;
    if (MakeHandOffEventName(installedPath, eventName, sizeof eventName))
        handOff.Reset(OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName));
    // Started by hand there is no request waiting, and no event.
    if (handOff.IsOpen())
        SetEvent(handOff.Get());

    RunUninstallDialog(&saved);
}

namespace {

void RunUninstallDialog(const SavedUninstallEntry* savedEntry)
{
    // Always the folder of the copy that was started with "/r", whatever the registration said.
    CopyText(installState.installDir, installState.sourceDir);
    DialogBoxParamA(installState.instance, MAKEINTRESOURCEA(IDD_UNINSTALL), nullptr, UninstallDialog,
                    reinterpret_cast<LPARAM>(savedEntry));

    // The worker copy in the system folder cannot delete itself while it runs.
    char ownPath[kPathCapacity];
    DWORD length = GetModuleFileNameA(installState.instance, ownPath, sizeof ownPath);
    if (length != 0 && length < sizeof ownPath)
        ScheduleDeleteOnReboot(ownPath);
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
