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
    // Another entry that names this copy too means that another package was installed over
    // this one: the setup file here need not be the one this entry was made with.
    char otherTitle[kPathCapacity];
    if (IsRegisteredProgram(programPath) && !FindOtherEntry(programPath, false, otherTitle))
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

// Copies this program into the system folder as the worker, under its own name or, where a
// file of that name is already there (another vendor's, or a worker an earlier uninstall left
// until the next restart), under the first free name "<name>_<n>.<ext>": a file this program
// did not make is never replaced.
bool CopyWorker(const char* systemDir, char (&workerPath)[kPathCapacity])
{
    constexpr int kWorkerNames = 100;
    for (int n = 0; n < kWorkerNames; ++n) {
        char name[kPathCapacity];
        if (!CopyText(name, installState.exeName))
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
    if (length == 0 || length >= sizeof systemDir || !CopyWorker(systemDir, workerPath) ||
        !MakeWorkerCommandLine(workerPath, commandLine)) {
        ReportWorkerNotStarted();
        return;
    }
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
