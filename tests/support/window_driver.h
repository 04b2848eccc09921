// Window driver: starts the built program under Wine and drives its windows like a user.
// Every wait polls with a deadline; nothing sleeps a fixed time.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

constexpr DWORD kDefaultDeadlineMs = 10000;

// A started program. The destructor ends the process if it is still running.
class ProgramRun {
public:
    // Starts exePath with the arguments (after a blank) in workingDir (or the exe's folder).
    bool Start(const std::string& exePath, const std::string& arguments, const std::string& workingDir = "");
    ~ProgramRun();
    // Waits for the process to end; returns its exit code, or -1 when the deadline passed.
    int WaitExit(DWORD deadlineMs = kDefaultDeadlineMs);
    bool Running() const;
    void Kill();  // ends the process and waits until it is gone
    DWORD processId = 0;
    HANDLE process = nullptr;
};

// A top-level window of a process: a dialog ("#32770"), message box or wizard.
struct FoundWindow {
    HWND hwnd = nullptr;
    explicit operator bool() const { return hwnd != nullptr; }
};

// Waits for a visible top-level window of the process (any process when processId is 0)
// whose class is "#32770"; with a title, only one whose caption (UTF-8) equals it.
HWND WaitForDialog(DWORD processId, DWORD deadlineMs = kDefaultDeadlineMs, const std::string& titleUtf8 = "");
// Waits for a message box (a "#32770" with the static 65535).
HWND WaitForMessageBox(DWORD processId, DWORD deadlineMs = kDefaultDeadlineMs);
// Waits for a "#32770" of the process holding a control with that id (a particular dialog).
HWND WaitForDialogWithControl(DWORD processId, int controlId, DWORD deadlineMs = kDefaultDeadlineMs);
// True when no dialog of the process shows up within waitMs. The one wait for an absence:
// keep it short (about 1500 ms) and use it only where a window must NOT appear.
bool NoDialogAppears(DWORD processId, DWORD waitMs = 1500);
// Waits until the window is gone.
bool WaitGone(HWND window, DWORD deadlineMs = kDefaultDeadlineMs);
// Every visible top-level "#32770" window of the process.
std::vector<HWND> DialogsOf(DWORD processId);

// A message box read whole.
struct MessageBoxInfo {
    std::string text;     // UTF-8
    std::string caption;  // UTF-8
    std::vector<int> buttons;  // ids among IDOK, IDCANCEL, IDYES, IDNO, ... that exist
    bool hasIcon = false;
    HWND owner = nullptr;
};
MessageBoxInfo ReadMessageBox(HWND box);
// Waits for a box, reads it, presses button; returns what it read (text empty on time-out).
MessageBoxInfo AnswerMessageBox(DWORD processId, int button, DWORD deadlineMs = kDefaultDeadlineMs);

// Controls, by id, of a dialog or wizard page; texts are UTF-8.
std::string ControlText(HWND dialog, int id);
bool SetControlText(HWND dialog, int id, const std::string& textUtf8);
bool ControlVisible(HWND dialog, int id);
bool ControlEnabled(HWND dialog, int id);
bool ControlExists(HWND dialog, int id);
bool PressButton(HWND dialog, int id);      // BM_CLICK, posted so a modal box cannot block the test
bool PostCommand(HWND dialog, int id);      // WM_COMMAND/BN_CLICKED posted to the dialog itself
// Clicks the check box (or radio button) when its state differs, then waits for the state.
bool SetCheck(HWND dialog, int id, bool checked);
bool IsChecked(HWND dialog, int id);
std::vector<std::string> ComboItems(HWND dialog, int id);
std::string WindowTitle(HWND window);

// Wizards (property sheets).
HWND CurrentPage(HWND sheet);
bool PressWizardButton(HWND sheet, int psbtn);  // PSBTN_NEXT, PSBTN_BACK, PSBTN_FINISH, PSBTN_CANCEL
// Waits until the current page holds a control with that id (the page has changed).
HWND WaitForPageWith(HWND sheet, int controlId, DWORD deadlineMs = kDefaultDeadlineMs);
// Waits until a wizard button (by its sheet control id: 0x3024 Next, 0x3023 Back, 0x3025
// Finish, IDCANCEL) is enabled and visible.
bool WaitForWizardButton(HWND sheet, int buttonId, DWORD deadlineMs = kDefaultDeadlineMs);

// Waits for a condition, polling every 20 ms.
template <typename Condition> bool WaitUntil(Condition condition, DWORD deadlineMs = kDefaultDeadlineMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > deadlineMs)
            return false;
        Sleep(20);
    }
}

// Ends every process ProgramRun started in this test program that still runs, and their
// descendants (an uninstall request starts a worker copy).
void KillStartedProcesses();

// Saves a screenshot of the whole (Xvfb) screen as BUILD_ROOT\screenshots\<name>.bmp,
// captured with GDI; true when written. ScreenshotPath gives the file's Windows path.
bool SaveScreenshot(const std::string& name);
std::string ScreenshotPath(const std::string& name);
// Saves a screenshot when the current GoogleTest test has failed; call at the end of a test
// (EndToEndTest in end_to_end_test.h does it in its TearDown).
void ScreenshotIfFailed();
