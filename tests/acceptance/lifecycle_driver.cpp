// The install and uninstall of a package driven through the program's windows, step by step.
#include "lifecycle_driver.h"

#include <prsht.h>
#include <tlhelp32.h>

#include "res/resource.h"
#include "support/test_support.h"

namespace {

constexpr int kNextButton = 0x3024;
constexpr int kFinishButton = 0x3025;
constexpr DWORD kCopyDeadlineMs = 30000;

// A window is shown a moment before it is painted: a picture waits for the paint.
void Picture(const ShotFunction& shot, HWND window, const std::string& name)
{
    if (!shot)
        return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(400);
    shot(name);
}

bool IsMessageBox(HWND window)
{
    return GetDlgItem(window, 65535) != nullptr && GetDlgItem(window, IDC_UNINSTALL_STATUS) == nullptr;
}

// A message box of the process other than the window given; nullptr when there is none.
HWND OtherBoxOf(DWORD processId, HWND besides)
{
    for (HWND window : DialogsOf(processId)) {
        if (window != besides && IsMessageBox(window))
            return window;
    }
    return nullptr;
}

// Reads a box nobody expected, answers it the way that lets the work go on, and records it.
void AnswerUnexpected(HWND box, std::vector<std::string>* record)
{
    MessageBoxInfo info = ReadMessageBox(box);
    bool hasYes = false;
    for (int button : info.buttons)
        hasYes = hasYes || button == IDYES;
    record->push_back("[" + info.caption + "] " + info.text);
    PressButton(box, hasYes ? IDYES : IDOK);
    WaitGone(box);
}

// The worker's uninstall dialog: a dialog of any process with the status line and Finish.
struct DialogSearch {
    DWORD besides;
    HWND found;
};

BOOL CALLBACK CheckUninstallDialog(HWND window, LPARAM parameter)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(parameter);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->besides && IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0 &&
        GetDlgItem(window, IDC_UNINSTALL_STATUS) != nullptr && GetDlgItem(window, IDC_FINISH) != nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindUninstallDialog(DWORD besidesProcess)
{
    DialogSearch search = {besidesProcess, nullptr};
    EnumWindows(CheckUninstallDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A visible window of a process whose title begins with a text.
struct TitleSearch {
    DWORD processId;
    std::string titleStart;
    HWND found;
};

BOOL CALLBACK CheckTitle(HWND window, LPARAM parameter)
{
    TitleSearch* search = reinterpret_cast<TitleSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) &&
        WindowTitle(window).compare(0, search->titleStart.size(), search->titleStart) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::string FailureWithBoxes(const std::string& failure, DWORD processId)
{
    std::string text = failure;
    for (HWND window : DialogsOf(processId)) {
        if (IsMessageBox(window))
            text += "; a message box shows: " + ReadMessageBox(window).text;
    }
    return text;
}

}  // namespace

WizardRun InstallThroughWizard(ProgramRun& run, const std::string& setupExe, const ShotFunction& shot,
                               const std::string& prefix, const std::string& destination)
{
    WizardRun result;
    if (!run.Start(setupExe, "/go")) {
        result.failure = "the installer did not start: " + setupExe;
        return result;
    }
    HWND sheet = WaitForDialog(run.processId, 20000);
    if (sheet == nullptr || IsMessageBox(sheet)) {
        result.failure = sheet ? "a message box instead of the wizard: " + ReadMessageBox(sheet).text : "no wizard";
        return result;
    }
    HWND folderPage = WaitForPageWith(sheet, IDC_DESTINATION);
    if (folderPage == nullptr || !WaitForWizardButton(sheet, kNextButton)) {
        result.failure = "the wizard shows no folder page with Next";
        return result;
    }
    result.caption = WindowTitle(sheet);
    result.folderShown = ControlText(folderPage, IDC_DESTINATION);
    if (!destination.empty())
        SetControlText(folderPage, IDC_DESTINATION, destination);
    Picture(shot, sheet, prefix + "1-folder-page");
    PressWizardButton(sheet, PSBTN_NEXT);

    // A question about the destination is answered Yes; a refusal (OK alone) ends the drive.
    HWND menuPage = nullptr;
    HWND box = nullptr;
    while (WaitUntil([&] {
        box = OtherBoxOf(run.processId, sheet);
        return box != nullptr || (menuPage = WaitForPageWith(sheet, IDC_MENU_SHORTCUTS, 0)) != nullptr;
    }) && box != nullptr) {
        bool refusal = ReadMessageBox(box).buttons.size() == 1;
        AnswerUnexpected(box, &result.unexpectedBoxes);
        if (refusal || result.unexpectedBoxes.size() > 1) {
            result.failure = "the folder page refused: " + result.unexpectedBoxes.back();
            return result;
        }
    }
    if (menuPage == nullptr) {
        result.failure = FailureWithBoxes("no program-menu page after the folder page", run.processId);
        return result;
    }
    result.menuShown = ControlText(menuPage, IDC_MENU_FOLDER);
    result.menuBoxChecked = IsChecked(menuPage, IDC_MENU_SHORTCUTS);
    result.desktopBoxChecked = IsChecked(menuPage, IDC_DESKTOP_SHORTCUT);
    if (!SetCheck(menuPage, IDC_DESKTOP_SHORTCUT, true) || !WaitForWizardButton(sheet, kNextButton)) {
        result.failure = "the desktop box could not be ticked";
        return result;
    }
    Picture(shot, sheet, prefix + "2-menu-page");
    PressWizardButton(sheet, PSBTN_NEXT);

    HWND copyPage = WaitForPageWith(sheet, IDC_STATUS);
    if (copyPage == nullptr) {
        result.failure = FailureWithBoxes("no copy page after the program-menu page", run.processId);
        return result;
    }
    // Questions and reports on the way are answered so that the install goes on; the caller
    // decides whether any was welcome.
    while (!ControlVisible(sheet, kFinishButton) || !ControlEnabled(sheet, kFinishButton)) {
        bool changed = WaitUntil(
            [&] {
                box = OtherBoxOf(run.processId, sheet);
                return box != nullptr || (ControlVisible(sheet, kFinishButton) && ControlEnabled(sheet, kFinishButton));
            },
            kCopyDeadlineMs);
        if (!changed) {
            result.failure = "Finish never came up on the copy page; it shows: " + ControlText(copyPage, IDC_STATUS);
            return result;
        }
        if (box != nullptr) {
            Picture(shot, box, prefix + "3-copy-message-" + std::to_string(result.unexpectedBoxes.size() + 1));
            AnswerUnexpected(box, &result.unexpectedBoxes);
        }
    }
    result.statusShown = ControlText(copyPage, IDC_STATUS);
    result.hintShown = ControlVisible(copyPage, IDC_UNINSTALL_HINT) ? ControlText(copyPage, IDC_UNINSTALL_HINT) : "";
    Picture(shot, sheet, prefix + "3-copy-page");
    PressWizardButton(sheet, PSBTN_FINISH);

    box = WaitForMessageBox(run.processId);
    if (box == nullptr) {
        result.failure = "no message after Finish";
        return result;
    }
    Picture(shot, box, prefix + "4-completed");
    result.completion = AnswerMessageBox(run.processId, IDOK);
    result.exitCode = run.WaitExit();
    return result;
}

UninstallRun UninstallWithR(ProgramRun& request, const std::string& installedExe, const ShotFunction& shot,
                            const std::string& prefix)
{
    UninstallRun result;
    if (!request.Start(installedExe, "/r")) {
        result.failure = "the installed copy did not start: " + installedExe;
        return result;
    }
    HWND box = WaitForMessageBox(request.processId);
    if (box == nullptr) {
        result.failure = "no first question";
        return result;
    }
    Picture(shot, box, prefix + "6-first-question");
    result.question = AnswerMessageBox(request.processId, IDOK);
    box = WaitForMessageBox(request.processId);
    if (box == nullptr) {
        result.failure = "no confirmation after the first question";
        return result;
    }
    Picture(shot, box, prefix + "7-confirmation");
    result.confirmation = AnswerMessageBox(request.processId, IDOK);

    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindUninstallDialog(request.processId)) != nullptr; });
    result.requestExit = request.WaitExit();
    if (dialog == nullptr) {
        result.failure = "the worker's uninstall dialog never showed";
        return result;
    }
    result.runningStatus = ControlText(dialog, IDC_UNINSTALL_STATUS);
    result.dialogCaption = WindowTitle(dialog);
    GetWindowThreadProcessId(dialog, &result.workerId);
    result.workerImage = ImageOfProcess(result.workerId);
    HANDLE worker = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, result.workerId);

    while (!ControlEnabled(dialog, IDC_FINISH)) {
        box = nullptr;
        bool changed = WaitUntil(
            [&] {
                box = OtherBoxOf(result.workerId, dialog);
                return box != nullptr || ControlEnabled(dialog, IDC_FINISH);
            },
            kCopyDeadlineMs);
        if (!changed) {
            result.failure = "Finish never came up in the uninstall dialog; it shows: " +
                             ControlText(dialog, IDC_UNINSTALL_STATUS);
            if (worker != nullptr)
                CloseHandle(worker);
            return result;
        }
        if (box != nullptr) {
            Picture(shot, box, prefix + "8-uninstall-message-" + std::to_string(result.unexpectedBoxes.size() + 1));
            AnswerUnexpected(box, &result.unexpectedBoxes);
        }
    }
    result.statusShown = ControlText(dialog, IDC_UNINSTALL_STATUS);
    Picture(shot, dialog, prefix + "8-uninstall-dialog");
    PressButton(dialog, IDC_FINISH);
    if (worker != nullptr) {
        if (WaitForSingleObject(worker, kDefaultDeadlineMs) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(worker, &code);
            result.workerExit = static_cast<int>(code);
        }
        CloseHandle(worker);
    }
    if (result.workerExit == -1)
        result.failure = "the worker did not end after Finish";
    return result;
}

std::vector<DWORD> ProcessesNamed(const char* exeName)
{
    std::vector<DWORD> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName) == 0)
            found.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return found;
}

std::vector<DWORD> ProcessesStartedBy(DWORD parentId)
{
    std::vector<DWORD> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parentId && entry.th32ProcessID != parentId)
            found.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return found;
}

bool EndProcessTree(DWORD processId)
{
    bool gone = true;
    for (DWORD child : ProcessesStartedBy(processId))
        gone = EndProcessTree(child) && gone;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (process == nullptr)
        return gone;
    TerminateProcess(process, 0);
    gone = WaitForSingleObject(process, kDefaultDeadlineMs) == WAIT_OBJECT_0 && gone;
    CloseHandle(process);
    return gone;
}

DWORD WaitForNewProcessWindow(const char* exeName, const std::vector<DWORD>& known, const std::string& titleStart,
                              HWND* window, DWORD deadlineMs)
{
    DWORD result = 0;
    *window = nullptr;
    WaitUntil(
        [&] {
            for (DWORD id : ProcessesNamed(exeName)) {
                bool old = false;
                for (DWORD k : known)
                    old = old || k == id;
                if (old)
                    continue;
                TitleSearch search = {id, titleStart, nullptr};
                EnumWindows(CheckTitle, reinterpret_cast<LPARAM>(&search));
                if (search.found != nullptr) {
                    result = id;
                    *window = search.found;
                    return true;
                }
            }
            return false;
        },
        deadlineMs);
    return result;
}


std::string ProgramOfCommand(const std::string& command)
{
    if (!command.empty() && command[0] == '"') {
        size_t end = command.find('"', 1);
        return end == std::string::npos ? "" : command.substr(1, end - 1);
    }
    return command.substr(0, command.find(' '));
}
