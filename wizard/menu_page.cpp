// Program-menu page: whether shortcuts go into the program menu and onto the desktop, and in
// which folder of the Start Menu the program-menu shortcuts are placed.
#include "wizard/menu_page.h"

#include <commctrl.h>
#include <prsht.h>

#include "base/file_search.h"
#include "base/path.h"
#include "base/registry_key.h"
#include "res/resource.h"
#include "setup/install_state.h"

namespace {

void FillMenuFolderList(HWND combo);
// Adds every sub folder below the folder in path (a kPathCapacity buffer used as working
// space) to the combo box, relative to the first prefixLength bytes, skipping excluded.
void ListMenuFolders(HWND combo, char* path, size_t prefixLength, const char* excluded);

// True when path begins with the first prefixLength bytes of prefix, ignoring case.
bool BeginsWithFolder(const char* path, const char* prefix, size_t prefixLength)
{
    if (static_cast<size_t>(lstrlenA(path)) < prefixLength)
        return false;
    char head[kPathCapacity];
    CopyMemory(head, path, prefixLength);
    head[prefixLength] = '\0';
    return lstrcmpiA(head, prefix) == 0;
}

BOOL OnInitDialog(HWND page)
{
    CheckDlgButton(page, IDC_MENU_SHORTCUTS, BST_CHECKED);
    FillMenuFolderList(GetDlgItem(page, IDC_MENU_FOLDER));
    return TRUE;
}

void OnSetActive()
{
    SendMessageA(installState.sheetWindow, PSM_SETWIZBUTTONS, 0, PSWIZB_BACK | PSWIZB_NEXT);
}

void OnWizardNext(HWND page)
{
    installState.wantMenuShortcuts = IsDlgButtonChecked(page, IDC_MENU_SHORTCUTS) == BST_CHECKED;
    installState.wantDesktopShortcut = IsDlgButtonChecked(page, IDC_DESKTOP_SHORTCUT) == BST_CHECKED;
    char typed[kPathCapacity];
    GetDlgItemTextA(page, IDC_MENU_FOLDER, typed, sizeof typed);

    // The text is always taken relative to the Start Menu folder. A folder that would not fit
    // is not made up from a cut text: menuDir then keeps the folder it had.
    char folder[kPathCapacity];
    if (ReadShellFolder("Start Menu", folder) && AppendPathPart(folder, typed))
        CopyText(installState.menuDir, folder);
}

INT_PTR OnNotify(HWND page, const NMHDR* header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        OnSetActive();
        return 0;
    case PSN_WIZNEXT:
        OnWizardNext(page);
        return 0;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK MenuPage(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(page);
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    }
    return FALSE;
}

namespace {

void FillMenuFolderList(HWND combo)
{
    char startMenu[kPathCapacity];
    char startup[kPathCapacity];
    if (!ReadShellFolder("Start Menu", startMenu) || !ReadShellFolder("Startup", startup))
        return;
    if (!AppendPathPart(startMenu, ""))
        return;
    size_t prefixLength = lstrlenA(startMenu);

    // Whatever the user types is appended to the Start Menu folder on Next; a longer text
    // could not name a folder that fits.
    SendMessageA(combo, CB_LIMITTEXT, kPathCapacity - 1 - prefixLength, 0);

    char path[kPathCapacity];
    CopyText(path, startMenu);
    ListMenuFolders(combo, path, prefixLength, startup);

    // menuDir normally lies inside the Start Menu folder; one elsewhere has no relative name.
    const char* current = "";
    if (BeginsWithFolder(installState.menuDir, startMenu, prefixLength))
        current = installState.menuDir + prefixLength;
    if (SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(current)) == CB_ERR)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(current));
    SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(current));
}

void ListMenuFolders(HWND combo, char* path, size_t prefixLength, const char* excluded)
{
    size_t originalLength = lstrlenA(path);
    // A folder whose search pattern does not fit has no sub folders that could be listed
    // uncut; it stays as it is.
    if (!AppendPathPart(path, kPathCapacity, "*.*"))
        return;
    char* name = FileNamePart(path);
    size_t room = kPathCapacity - (name - path);

    FileSearch search;
    if (search.First(path)) {
        do {
            // A folder listed by a name that is not its own (a code page's best fit) could
            // name another folder, even one outside; it is not offered.
            if (!search.IsDirectory() || search.IsDotEntry() || !IsRealFileName(search.findData.cFileName))
                continue;
            // A sub folder whose path would not fit is left out rather than listed cut.
            if (!CopyText(name, room, search.findData.cFileName))
                continue;
            if (lstrcmpA(path, excluded) == 0)
                continue;
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path + prefixLength));
            ListMenuFolders(combo, path, prefixLength, excluded);
        } while (search.Next());
    }
    path[originalLength] = '\0';
}

}  // namespace
