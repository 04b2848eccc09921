// bench_driver: drives the built setup.exe through its windows and times what a user waits for.
//   bench_driver install   <package SETUP.EXE> <destination folder> [probe]
//       Folder page: destination; Next; program-menu page: defaults; then the time from
//       pressing Next there to Finish being enabled, and the program's peak working set before
//       Finish is pressed. With "probe", also the longest block of the wizard's message loop
//       meanwhile (the probe's messages cost the program time: such runs are not timed).
//   bench_driver uninstall <worker SETUP.EXE> <installed SETUP.EXE> [probe]
//       Runs "<worker> x <installed>" and times the removal: from the dialog's 300 ms timer to
//       Finish being enabled. With "probe", also the longest block of the dialog meanwhile, and
//       the removal's start taken from the probe's first block.
//   bench_driver foldernext <package SETUP.EXE> <destination folder>
//       Folder page: destination; then the longest block of the wizard between pressing Next
//       and the program-menu page, and the time that took.
//   bench_driver run       <program> [arguments]
//       Runs a program to its end (a silent installer or uninstaller) and times it from process
//       creation; stops it when a message box of any process shows up meanwhile, or another
//       window stays for 5 s (a silent run asks nothing: one that asks would wait for an answer
//       until the deadline).
//   bench_driver startup   <program> [arguments]
//       The time from process creation to the first visible dialog of the process.
// Prints key=value lines; exit code 0 when the run went as planned.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <psapi.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "bench_clock.h"
#include "probe.h"
#include "res/resource.h"
#include "tests/support/test_support.h"
#include "tests/support/window_driver.h"

namespace {

constexpr int kWizardNext = 0x3024;
constexpr int kWizardFinish = 0x3025;
constexpr int kMessageBoxText = 65535;
constexpr DWORD kWindowDeadlineMs = 30000;
// The largest package is copied or removed well within this on any machine the bench is for.
constexpr double kWorkDeadlineSeconds = 1200;
const char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Reports what went wrong, with a picture of the screen while the program's windows still show.
int Fail(const std::string& what)
{
    if (SaveScreenshot("bench-failure"))
        printf("screenshot=%s\n", ScreenshotPath("bench-failure").c_str());
    printf("error=%s\n", what.c_str());
    fflush(stdout);
    return 1;
}

// A message box's text is the static 65535; dialog templates give their plain labels the same
// id, so a window already known to be the program's own dialog must be left out.
bool IsMessageBoxWindow(HWND window)
{
    return GetDlgItem(window, kMessageBoxText) != nullptr;
}

HWND FindMessageBox(DWORD processId, HWND except)
{
    for (HWND window : DialogsOf(processId)) {
        if (window != except && IsMessageBoxWindow(window))
            return window;
    }
    return nullptr;
}

std::string FolderOf(const std::string& path)
{
    size_t end = path.find_last_of("\\/");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

// Starts a program without waiting for it to become idle, so the caller's clock sees the whole
// start-up. The run owns the process and ends it when it goes out of scope.
bool Launch(ProgramRun& run, const std::string& exePath, const std::string& arguments)
{
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::string folder = FolderOf(exePath);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return false;
    CloseHandle(info.hThread);
    run.process = info.hProcess;
    run.processId = info.dwProcessId;
    return true;
}

SIZE_T PeakWorkingSet(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

// After Finish: the completion box and whatever else the closing actions raise, then the end.
void CloseAfterFinish(ProgramRun& run)
{
    double deadline = NowSeconds() + 20;
    while (run.Running() && NowSeconds() < deadline) {
        if (HWND box = WaitForMessageBox(run.processId, 500)) {
            MessageBoxInfo info = ReadMessageBox(box);
            PressButton(box, info.buttons.empty() ? IDOK : info.buttons.front());
            WaitGone(box, 5000);
        }
    }
    if (run.WaitExit(2000) < 0)
        run.Kill();
}

std::string ReadInstallValue(const std::string& infPath, const char* key)
{
    char value[260] = {};
    GetPrivateProfileStringA("Install", key, "", value, sizeof value, infPath.c_str());
    return value;
}

// Starts the wizard and waits for its folder page with destination filled in and Next enabled.
// Empty when it went as planned, else what went wrong.
std::string OpenFolderPage(ProgramRun& run, const std::string& setupExe, std::string destination, HWND* sheetOut)
{
    if (destination.empty() || destination.back() != '\\')
        destination += '\\';
    std::string infPath = setupExe.substr(0, setupExe.find_last_of('.')) + ".INF";
    std::string installKey = ReadInstallValue(infPath, "InstallKey");
    if (installKey.empty())
        return "the package's setup information file names no InstallKey: " + infPath;
    // A registration left by an earlier run would send the install to that run's folder.
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, (kUninstallRoot + installKey).c_str());

    if (!run.Start(setupExe, "/go"))
        return "cannot start " + setupExe + " (error " + std::to_string(GetLastError()) + ")";
    HWND sheet = WaitForDialog(run.processId, kWindowDeadlineMs);
    if (sheet == nullptr)
        return "no wizard appeared";
    if (CurrentPage(sheet) == nullptr && IsMessageBoxWindow(sheet))
        return "message box instead of the wizard: " + ReadMessageBox(sheet).text;
    HWND folderPage = WaitForPageWith(sheet, IDC_DESTINATION, kWindowDeadlineMs);
    if (folderPage == nullptr || !SetControlText(folderPage, IDC_DESTINATION, destination))
        return "cannot set the destination on the folder page";
    // The sheet ignores a press of a button that the page has not enabled yet.
    if (!WaitForWizardButton(sheet, kWizardNext, kWindowDeadlineMs))
        return "Next is not enabled on the folder page";
    *sheetOut = sheet;
    return std::string();
}

// Next on the folder page, then the program-menu page; empty when it showed.
std::string PassFolderPage(ProgramRun& run, HWND sheet)
{
    PressWizardButton(sheet, PSBTN_NEXT);
    HWND menuPage = WaitForPageWith(sheet, IDC_MENU_SHORTCUTS, kWindowDeadlineMs);
    if (menuPage == nullptr) {
        HWND box = FindMessageBox(run.processId, sheet);
        return box != nullptr ? "folder page refused: " + ReadMessageBox(box).text : "no program-menu page";
    }
    return std::string();
}

int FolderNext(const std::string& setupExe, const std::string& destination)
{
    ProgramRun run;
    HWND sheet = nullptr;
    std::string failure = OpenFolderPage(run, setupExe, destination, &sheet);
    if (!failure.empty())
        return Fail(failure);
    ResponsivenessProbe probe;
    probe.Start(sheet, 2);
    double start = NowSeconds();
    failure = PassFolderPage(run, sheet);
    double shown = NowSeconds();
    probe.Stop();
    if (!failure.empty())
        return Fail(failure);
    ProbeSummary summary = Summarize(probe.samples());
    printf("folder_next_seconds=%.4f\n", shown - start);
    printf("longest_block_ms=%.1f\n", summary.longestWait * 1000);
    printf("probes=%d\n", summary.count);
    fflush(stdout);
    run.Kill();
    return 0;
}

int Install(const std::string& setupExe, const std::string& destination, bool probing)
{
    ProgramRun run;
    HWND sheet = nullptr;
    std::string failure = OpenFolderPage(run, setupExe, destination, &sheet);
    if (failure.empty())
        failure = PassFolderPage(run, sheet);
    if (!failure.empty())
        return Fail(failure);
    if (!WaitForWizardButton(sheet, kWizardNext, kWindowDeadlineMs))
        return Fail("Next is not enabled on the program-menu page");

    ResponsivenessProbe probe;
    if (probing)
        probe.Start(sheet, 10);
    int boxes = 0;
    std::string firstBox;
    double start = NowSeconds();
    PressWizardButton(sheet, PSBTN_NEXT);
    double finished = 0;
    for (unsigned poll = 0;; ++poll) {
        if (ControlVisible(sheet, kWizardFinish) && ControlEnabled(sheet, kWizardFinish)) {
            finished = NowSeconds();
            break;
        }
        if (poll % 10 == 9) {
            if (HWND box = FindMessageBox(run.processId, sheet)) {
                MessageBoxInfo info = ReadMessageBox(box);
                if (boxes++ == 0)
                    firstBox = info.text;
                PressButton(box, info.buttons.empty() ? IDOK : info.buttons.front());
                WaitGone(box, 5000);
            }
            if (!run.Running())
                return Fail("the program ended during the install");
            if (NowSeconds() - start > kWorkDeadlineSeconds)
                return Fail("Finish was not enabled in time");
        }
        // Each poll is a round trip to the wineserver, which the program's steps need as well.
        Sleep(5);
    }
    SIZE_T peak = PeakWorkingSet(run.process);
    probe.Stop();
    ProbeSummary summary = Summarize(probe.samples());
    HWND copyPage = CurrentPage(sheet);
    printf("install_seconds=%.4f\n", finished - start);
    if (probing) {
        printf("longest_block_ms=%.1f\n", summary.longestWait * 1000);
        printf("probes=%d\n", summary.count);
    }
    printf("peak_working_set_kib=%lu\n", static_cast<unsigned long>(peak / 1024));
    printf("message_boxes=%d\n", boxes);
    printf("status=%s\n", ControlText(copyPage, IDC_STATUS).c_str());
    fflush(stdout);
    PressWizardButton(sheet, PSBTN_FINISH);
    CloseAfterFinish(run);
    // Into a clean destination nothing may ask or fail: a box makes the figure worthless.
    if (boxes != 0)
        return Fail("message box during the install: " + firstBox);
    return 0;
}

int Uninstall(const std::string& workerExe, const std::string& installedExe, bool probing)
{
    ProgramRun run;
    if (!Launch(run, workerExe, "x " + installedExe))
        return Fail("cannot start " + workerExe + " (error " + std::to_string(GetLastError()) + ")");
    HWND dialog = nullptr;
    double deadline = NowSeconds() + kWindowDeadlineMs / 1000.0;
    while (dialog == nullptr && NowSeconds() < deadline) {
        for (HWND window : DialogsOf(run.processId)) {
            if (GetDlgItem(window, IDC_UNINSTALL_STATUS) != nullptr)
                dialog = window;
            else if (IsMessageBoxWindow(window))
                return Fail("message box instead of the uninstall dialog: " + ReadMessageBox(window).text);
        }
        if (dialog == nullptr)
            Sleep(1);
    }
    if (dialog == nullptr)
        return Fail("no uninstall dialog appeared");
    double visible = NowSeconds();
    // A short interval: the sample that catches the timer handler running tells when it began.
    ResponsivenessProbe probe;
    if (probing)
        probe.Start(dialog, 2);

    int boxes = 0;
    std::string firstBox;
    double boxSeconds = 0;
    double finished = 0;
    for (unsigned poll = 0;; ++poll) {
        if (ControlEnabled(dialog, IDC_FINISH)) {
            finished = NowSeconds();
            break;
        }
        if (poll % 3 == 2) {
            if (HWND box = FindMessageBox(run.processId, dialog)) {
                // The time the box waits for an answer is the user's, not the removal's.
                double shown = NowSeconds();
                MessageBoxInfo info = ReadMessageBox(box);
                if (boxes++ == 0)
                    firstBox = info.text;
                PressButton(box, info.buttons.empty() ? IDOK : info.buttons.front());
                WaitGone(box, 5000);
                boxSeconds += NowSeconds() - shown;
            }
            if (!run.Running())
                return Fail("the worker ended during the removal");
            if (NowSeconds() - visible > kWorkDeadlineSeconds)
                return Fail("Finish was not enabled in time");
        }
        Sleep(2);
    }
    probe.Stop();
    // The removal runs inside the handler of the 300 ms timer started when the dialog was made,
    // and lets the dialog answer every 50 ms or so: its first block, which begins with the
    // handler, tells when it started. Without a block worth the name (a tiny package), fall back
    // to the dialog's appearance plus the timer's 300 ms.
    ProbeSummary summary = FirstBlock(probe.samples(), visible + 0.2, 0.005);
    bool fromProbe = summary.blockEnd > 0;
    double removalStart = fromProbe ? (summary.blockStartEarliest + summary.blockStartLatest) / 2 : visible + 0.3;
    printf("uninstall_seconds=%.4f\n", finished - removalStart - boxSeconds);
    printf("uninstall_from_visible_plus_300ms_seconds=%.4f\n", finished - (visible + 0.3) - boxSeconds);
    printf("removal_start_after_visible_ms=%.1f\n", (removalStart - visible) * 1000);
    printf("removal_start_uncertainty_ms=%.1f\n",
           fromProbe ? (summary.blockStartLatest - summary.blockStartEarliest) * 1000 : 0.0);
    printf("removal_start_source=%s\n", fromProbe ? "probe" : "visible+300ms");
    if (probing)
        printf("longest_block_ms=%.1f\n", summary.longestWait * 1000);
    printf("message_boxes=%d\n", boxes);
    printf("message_box_seconds=%.4f\n", boxSeconds);
    if (boxes != 0)
        printf("first_message_box=%s\n", firstBox.c_str());
    printf("status=%s\n", ControlText(dialog, IDC_UNINSTALL_STATUS).c_str());
    fflush(stdout);
    PressButton(dialog, IDC_FINISH);
    if (run.WaitExit(20000) < 0)
        run.Kill();
    return 0;
}

int Startup(const std::string& exe, const std::string& arguments)
{
    ProgramRun run;
    double start = NowSeconds();
    if (!Launch(run, exe, arguments))
        return Fail("cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
    HWND window = nullptr;
    while (window == nullptr) {
        std::vector<HWND> dialogs = DialogsOf(run.processId);
        if (!dialogs.empty())
            window = dialogs.front();
        else if (NowSeconds() - start > kWindowDeadlineMs / 1000.0)
            return Fail("no window appeared");
        else
            Sleep(1);
    }
    double shown = NowSeconds();
    if (IsMessageBoxWindow(window))
        return Fail("message box instead of the first window: " + ReadMessageBox(window).text);
    printf("startup_seconds=%.4f\n", shown - start);
    printf("peak_working_set_kib=%lu\n", static_cast<unsigned long>(PeakWorkingSet(run.process) / 1024));
    printf("title=%s\n", WindowTitle(window).c_str());
    fflush(stdout);
    run.Kill();
    return 0;
}

// A window that showed up during a silent run, for the report: a box's caption and text, or the
// window's title.
std::string DescribeWindow(HWND window)
{
    if (!IsMessageBoxWindow(window))
        return "window \"" + WindowTitle(window) + "\"";
    MessageBoxInfo info = ReadMessageBox(window);
    return "message box \"" + info.caption + "\": " + info.text;
}

// Ends the process that shows the window when it is another than the started one (the worker
// copy an uninstall request started); the started one ends with its run.
void EndOwnerOf(HWND window, DWORD startedId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == 0 || owner == startedId || owner == GetCurrentProcessId())
        return;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, owner)) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

int RunToEnd(const std::string& exe, const std::string& arguments)
{
    ProgramRun run;
    double start = NowSeconds();
    if (!Launch(run, exe, arguments))
        return Fail("cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
    // The wait ends the moment the process does; the look for windows in between costs the
    // programs one enumeration every 100 ms. A message box asks for an answer that never comes;
    // another window fails the run when it still shows 5 s after it was first seen (NSIS shows
    // its "verifying installer" progress when its own check takes a while).
    double ended = 0;
    double windowSince = 0;
    for (;;) {
        if (WaitForSingleObject(run.process, 100) == WAIT_OBJECT_0) {
            ended = NowSeconds();
            break;
        }
        std::vector<HWND> windows = DialogsOf(0);
        if (windows.empty())
            windowSince = 0;
        else if (windowSince == 0)
            windowSince = NowSeconds();
        if (!windows.empty() && (IsMessageBoxWindow(windows.front()) || NowSeconds() - windowSince > 5)) {
            int result = Fail("a window appeared during the silent run: " + DescribeWindow(windows.front()));
            EndOwnerOf(windows.front(), run.processId);
            return result;
        }
        if (NowSeconds() - start > kWorkDeadlineSeconds)
            return Fail(exe + " did not end in time");
    }
    int code = run.WaitExit(0);
    printf("run_seconds=%.4f\n", ended - start);
    printf("exit_code=%d\n", code);
    fflush(stdout);
    return code == 0 ? 0 : Fail(exe + " ended with exit code " + std::to_string(code));
}

std::string JoinArguments(int argc, char** argv, int first)
{
    std::string joined;
    for (int i = first; i < argc; ++i) {
        if (!joined.empty())
            joined += ' ';
        joined += argv[i];
    }
    return joined;
}

}  // namespace

int main(int argc, char** argv)
{
    bool probing = argc == 5 && strcmp(argv[4], "probe") == 0;
    if ((argc == 4 || probing) && strcmp(argv[1], "install") == 0)
        return Install(argv[2], argv[3], probing);
    if ((argc == 4 || probing) && strcmp(argv[1], "uninstall") == 0)
        return Uninstall(argv[2], argv[3], probing);
    if (argc == 4 && strcmp(argv[1], "foldernext") == 0)
        return FolderNext(argv[2], argv[3]);
    if (argc >= 3 && strcmp(argv[1], "startup") == 0)
        return Startup(argv[2], JoinArguments(argc, argv, 3));
    if (argc >= 3 && strcmp(argv[1], "run") == 0)
        return RunToEnd(argv[2], JoinArguments(argc, argv, 3));
    fprintf(stderr,
            "usage: bench_driver install SETUP.EXE DESTINATION [probe]\n"
            "       bench_driver uninstall WORKER.EXE INSTALLED-SETUP.EXE [probe]\n"
            "       bench_driver foldernext SETUP.EXE DESTINATION\n"
            "       bench_driver startup PROGRAM [ARGUMENTS]\n"
            "       bench_driver run PROGRAM [ARGUMENTS]\n");
    return 2;
}
