// Copy page: the wizard's last page. It runs the install engine's steps a moment after it is
// shown, one per posted command, showing their progress on its bar and their failures and
// questions in boxes, and opens what the setup file names when the user presses Finish.
#include "wizard/copy_page.h"

#include <commctrl.h>
#include <prsht.h>

#include "base/log.h"
#include "base/messages.h"
#include "base/path.h"
#include "base/window.h"
#include "res/resource.h"
#include "setup/engine_report.h"
#include "setup/entries.h"
#include "setup/entry_reader.h"
#include "setup/install_plan.h"
#include "setup/install_state.h"
#include "wizard/install_steps.h"

namespace {

constexpr UINT_PTR kStartTimer = 1;
constexpr UINT kStartDelayMs = 300;
// The command the page posts to itself for each slice of steps.
constexpr WPARAM kStepCommand = 1;
// A slice of steps runs this long at most, so that the page answers well within 100 ms; the bar
// is drawn at most this often (a repaint costs Wine more than copying a small file).
constexpr DWORD kSliceMs = 20;
constexpr DWORD kDrawIntervalMs = 75;
constexpr int kPermille = 1000;

}  // namespace

bool CopyPageReport::Ask(Question kind, const char* text, const char* caption)
{
    showedABox_ = true;
    return answers_ != nullptr ? answers_->Ask(kind, text, caption) : boxes_.Ask(kind, text, caption);
}

void CopyPageReport::Failure(const char* text, const char* caption)
{
    showedABox_ = true;
    if (answers_ != nullptr)
        answers_->Failure(text, caption);
    else
        boxes_.Failure(text, caption);
}

void CopyPageReport::Step(int step, int steps)
{
    if (step == 0 || bar_ == nullptr) {
        bar_ = GetDlgItem(owner_, IDC_PROGRESS);
        lastStep_ = steps - 1;
        SendMessageA(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, lastStep_));
    }
    if (copyScale_ != 0) {
        SendMessageA(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, lastStep_));
        SendMessageA(bar_, PBM_SETPOS, step, 0);
        copyScale_ = 0;
    }
    next_ = step + 1;
}

// The bar shows the steps done at the end of a slice: drawn when kDrawIntervalMs have passed
// since it was last drawn, and at the end; in between its position moves with drawing off.
void CopyPageReport::ShowProgress(bool last)
{
    if (bar_ == nullptr)
        return;
    DWORD now = GetTickCount();
    bool draw = last || now - lastDrawn_ >= kDrawIntervalMs;
    bool drawing = (GetWindowLongA(bar_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (draw != drawing)
        SendMessageA(bar_, WM_SETREDRAW, draw, 0);
    SendMessageA(bar_, PBM_SETPOS, next_ > lastStep_ ? lastStep_ : next_, 0);
    if (draw)
        lastDrawn_ = now;
}

// The bar draws again while the page repaints during a long copy, and moves within the step.
void CopyPageReport::ShareOfStep(int permille)
{
    if (bar_ == nullptr)
        return;
    if (permille == 0) {
        SendMessageA(bar_, WM_SETREDRAW, TRUE, 0);
        return;
    }
    int scale = 0xFFFF / (lastStep_ > 0 ? lastStep_ : 1);
    if (scale > kPermille)
        scale = kPermille;
    if (scale < 2)
        return;
    copyScale_ = scale;
    SendMessageA(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, lastStep_ * scale));
    SendMessageA(bar_, PBM_SETPOS, next_ * scale + MulDiv(scale, permille, kPermille), 0);
}

namespace {

CopyPageReport* ReportOf(HWND page)
{
    return reinterpret_cast<CopyPageReport*>(GetWindowLongPtrA(page, GWLP_USERDATA));
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
    if (ReportOf(page)->FinishesByItself())
        PostMessageA(installState.sheetWindow, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
}

// Runs the steps of one slice of time and posts the command for the next slice; after the last
// step the page shows the outcome. A slice ends after kSliceMs, or after a step that showed a
// box (the person has seen the page wait; the next slice starts afresh). Between slices the
// page answers what the system sends it, the bar moves and Cancel is seen. A stray command
// after the end (the page's id 1 is also IDOK) must not run the last step a second time.
void RunNextSlice(HWND page)
{
    if (installState.installDone)
        return;
    CopyPageReport& report = *ReportOf(page);
    const Package& package = report.InstalledPackage();
    int steps = InstallStepCount(package.fileCount);
    report.SetPage(page);
    report.StartSlice();
    EntryReadingPass pass;
    DWORD sliceStart = GetTickCount();
    do {
        // Cancelled, the file entries left are skipped; the program and its setup file are
        // copied and the installation registered, so that its uninstall removes what was copied.
        PlanStep next = InstallStepAt(package.fileCount, installState.stepIndex);
        if (report.Cancelled() && next.kind == StepKind::CopyEntry && next.entry >= 1) {
            installState.installIncomplete = true;
            installState.stepIndex = steps - 1;
        }
        int step = installState.stepIndex;
        RunInstallStep(package, step, report);
        report.Step(step, steps);
        ++installState.stepIndex;
    } while (installState.stepIndex < steps && !report.ShowedABox() && GetTickCount() - sliceStart < kSliceMs);
    report.ShowProgress(installState.stepIndex >= steps);
    if (installState.stepIndex < steps)
        PostMessageA(page, WM_COMMAND, kStepCommand, 0);
    else
        FinishSequence(page);
}

INT_PTR OnInitDialog(HWND page, const PROPSHEETPAGEA* sheetPage)
{
    installState.ownerWindow = page;
    SetWindowLongPtrA(page, GWLP_USERDATA, sheetPage->lParam);
    // Shown alone, the page is the first: the sheet is found and placed here.
    if (installState.sheetWindow == nullptr) {
        installState.sheetWindow = GetParent(page);
        CenterWindow(installState.sheetWindow);
    }
    // The progress shown alone keeps its Cancel; in the wizard, the copy cannot be cancelled.
    if (!ReportOf(page)->FinishesByItself())
        SendMessageA(installState.sheetWindow, PSM_CANCELTOCLOSE, 0, 0);
    return TRUE;
}

// Cancel on the progress shown alone: the sheet stays until the steps have come to an end.
INT_PTR OnQueryCancel(HWND page)
{
    CopyPageReport* report = ReportOf(page);
    if (!report->FinishesByItself() || installState.installDone)
        return FALSE;
    if (!report->Cancelled())
        LogLine("cancelled");
    report->Cancel();
    SetWindowLongPtrA(page, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

void OnSetActive(HWND page)
{
    SendMessageA(installState.sheetWindow, PSM_SETWIZBUTTONS, 0, 0);
    SetTimer(page, kStartTimer, kStartDelayMs, nullptr);
}

void OnWizardFinish(HWND page)
{
    const Package& package = ReportOf(page)->InstalledPackage();
    SetCurrentDirectoryA(installState.installDir);
    // A value too long for a path is not opened at all, rather than opened cut.
    char open[kPathCapacity + 1];
    DWORD length = GetPrivateProfileStringA(kInstallSection, kOpenKey, "", open, sizeof open, package.infPath);
    if (length >= kPathCapacity)
        open[0] = '\0';
    CopyText(installState.openAfterInstall, open);

    // The shell looks for a relative program name in the installer's own folder before the
    // current directory, and the package holds a file of the same name: name the installed
    // copy in full whenever there is one.
    char installed[kPathCapacity];
    if (open[0] != '\0' && FindRootEnd(open) == nullptr && JoinPath(installed, sizeof installed, installState.installDir, open) &&
        GetFileAttributesA(installed) != INVALID_FILE_ATTRIBUTES)
        CopyText(installState.openAfterInstall, installed);
}

// The pause after the page is shown is over: the first step.
void OnTimer(HWND page)
{
    KillTimer(page, kStartTimer);
    PostMessageA(page, WM_COMMAND, kStepCommand, 0);
}

void OnCommand(HWND page, WPARAM command)
{
    if (command == kStepCommand)
        RunNextSlice(page);
}

INT_PTR OnNotify(HWND page, const NMHDR* header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        OnSetActive(page);
        break;
    case PSN_WIZFINISH:
        OnWizardFinish(page);
        break;
    case PSN_QUERYCANCEL:
        return OnQueryCancel(page);
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK CopyPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(page, reinterpret_cast<const PROPSHEETPAGEA*>(lParam));
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER:
        OnTimer(page);
        break;
    case WM_COMMAND:
        OnCommand(page, wParam);
        break;
    }
    return FALSE;
}
