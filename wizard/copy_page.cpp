// Copy page: the wizard's last page. It starts the install step sequence a moment after it is
// shown and opens what the setup file names when the user presses Finish.
#include "wizard/copy_page.h"

#include <commctrl.h>
#include <prsht.h>

#include "base/path.h"
#include "setup/entries.h"
#include "setup/install_state.h"
#include "wizard/install_steps.h"

namespace {

constexpr UINT_PTR kStartTimer = 1;
constexpr UINT kStartDelayMs = 300;

INT_PTR OnInitDialog(HWND page)
{
    installState.ownerWindow = page;
    SendMessageA(installState.sheetWindow, PSM_CANCELTOCLOSE, 0, 0);
    return TRUE;
}

void OnSetActive(HWND page)
{
    SendMessageA(installState.sheetWindow, PSM_SETWIZBUTTONS, 0, 0);
    SetTimer(page, kStartTimer, kStartDelayMs, nullptr);
}

void OnWizardFinish()
{
    SetCurrentDirectoryA(installState.installDir);
    // A value too long for a path is not opened at all, rather than opened cut.
    char open[kPathCapacity + 1];
    DWORD length = GetPrivateProfileStringA(kInstallSection, kOpenKey, "", open, sizeof open, installState.infPath);
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

void OnCommand(WPARAM command)
{
    if (command == kStepCommand)
        RunInstallStep();
}

void OnNotify(HWND page, const NMHDR* header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        OnSetActive(page);
        break;
    case PSN_WIZFINISH:
        OnWizardFinish();
        break;
    }
}

}  // namespace

INT_PTR CALLBACK CopyPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(page);
    case WM_NOTIFY:
        OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
        break;
    case WM_TIMER:
        OnTimer(page);
        break;
    case WM_COMMAND:
        OnCommand(wParam);
        break;
    }
    return FALSE;
}
