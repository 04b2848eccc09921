// Install wizard: the three-page property sheet that the folder, program-menu and copy pages
// make up.
#include "wizard/wizard.h"

#include <windows.h>
#include <prsht.h>

#include "base/messages.h"
#include "base/system_library.h"
#include "res/resource.h"
#include "setup/install_state.h"
#include "wizard/copy_page.h"
#include "wizard/folder_page.h"
#include "wizard/menu_page.h"

namespace {

struct WizardPage {
    int templateId;
    DLGPROC procedure;
};

const WizardPage kWizardPages[] = {
    {IDD_FOLDER_PAGE, FolderPage},
    {IDD_MENU_PAGE, MenuPage},
    {IDD_COPY_PAGE, CopyPage},
};
constexpr int kWizardPageCount = sizeof kWizardPages / sizeof kWizardPages[0];
static_assert(kCopyPageIndex == 2, "the copy page is the third of kWizardPages");

}  // namespace

bool RunInstallWizard(const Package& package, EngineReport* answers, bool progressOnly)
{
    // Without the common controls there are no pages to show: the install ends before it began.
    CommonControls controls;
    if (!controls.Load()) {
        if (answers != nullptr)
            answers->Failure(LoadMessage(IDS_NO_COMMON_CONTROLS));
        else
            ShowMessage(nullptr, IDS_NO_COMMON_CONTROLS, nullptr, MB_ICONERROR);
        return false;
    }
    CopyPageReport copyPageReport(package, answers, progressOnly);
    // Registers the property sheet's and the progress bar's window classes.
    controls.initCommonControls();

    // Wine's sheet gives a wizard the title of the page it shows, each time a page is shown, so
    // every page carries the wizard's caption (message 8) as its title; otherwise the caption the
    // folder page sets would be wiped as soon as that page appears. The sheet steps through the
    // page records by their dwSize, so each record states the size of the array's elements:
    // the original record, which every version of the common controls accepts.
    char caption[kMessageCapacity];
    if (!FormatMessageInto(caption, sizeof caption, IDS_WIZARD_CAPTION, package.title))
        caption[0] = '\0';
    PROPSHEETPAGEA_V1 pages[kWizardPageCount] = {};
    for (int i = 0; i < kWizardPageCount; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].pszTitle = caption;
        pages[i].hInstance = installState.instance;
        pages[i].pszTemplate = MAKEINTRESOURCEA(kWizardPages[i].templateId);
        pages[i].pfnDlgProc = kWizardPages[i].procedure;
    }
    // The folder page reads the package; the copy page's report carries it.
    pages[0].lParam = reinterpret_cast<LPARAM>(&package);
    pages[kCopyPageIndex].lParam = reinterpret_cast<LPARAM>(&copyPageReport);

    // The first versions of the common controls accept only the original header size, and
    // nothing newer is used here.
    PROPSHEETHEADERA header = {};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD | PSH_NOAPPLYNOW;
    // Progress only: the copy page alone.
    int first = progressOnly ? kCopyPageIndex : 0;
    header.nPages = kWizardPageCount - first;
    header.nStartPage = 0;
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pages + first);
    controls.propertySheet(&header);
    return copyPageReport.Cancelled();
}
