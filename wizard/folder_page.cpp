// The destination-folder page, with the free-space measure and the shell's folder picker that
// it uses.
#include "wizard/folder_page.h"

#include <commctrl.h>
#include <prsht.h>
#include <shlobj.h>

#include "base/file_search.h"
#include "base/fixed_texts.h"
#include "base/folders.h"
#include "base/handle.h"
#include "base/log.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/path.h"
#include "base/path_set.h"
#include "base/same_file.h"
#include "base/text.h"
#include "base/window.h"
#include "res/resource.h"
#include "setup/engine_report.h"
#include "setup/entries.h"
#include "setup/entry_reader.h"
#include "setup/install_plan.h"
#include "setup/install_state.h"
#include "shell/registration.h"
#include "wizard/about_box.h"
#include "wizard/wizard.h"

namespace {

// Shows the shell's folder picker on the current destination; true when a folder was chosen
// and written into the edit control.
bool BrowseForDestination(HWND page, int editId);

// The full installation (Japanese template only) is about 1.5 GB of files.
constexpr unsigned kFullInstallMegabytes = 1250;
constexpr unsigned kMegabyteShift = 20;
constexpr unsigned long long kMegabyte = 1ull << kMegabyteShift;
constexpr unsigned kAllMegabytes = 0xFFFFFFFFu;


// Keeps the wizard on the page in answer to PSN_WIZNEXT.
INT_PTR Stay(HWND page)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, -1);
    return TRUE;
}

bool Refuse(EngineReport& report, int messageId)
{
    report.Failure(LoadMessage(messageId));
    return false;
}

// Bytes of one source file (0 when it is missing or a folder: the copy step reports those).
unsigned long long SourceSize(const char* path)
{
    WIN32_FIND_DATAA facts;
    if (path[0] == '\0' || !ReadFileFacts(path, &facts) || (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return (static_cast<unsigned long long>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
}

// The sizes of the source files, read with one listing of a folder once two entries in a row
// name files there (packages list their files folder by folder); a first entry of a folder, and
// a name its listing does not hold (a wildcard, a name the listing spells otherwise), are looked
// for by themselves, as they were before.
class SourceSizes {
public:
    unsigned long long SizeOf(const char* path)
    {
        char folder[kPathCapacity];
        if (!CopyText(folder, path))
            return 0;
        *FileNamePart(folder) = '\0';
        if (lstrcmpiA(folder, folder_) != 0) {
            CopyText(folder_, folder);
            listed_ = false;
            return SourceSize(path);
        }
        if (!listed_)
            listed_ = List();
        ULONGLONG size;
        return listed_ && names_.Find(FileNamePart(path), &size) ? size : SourceSize(path);
    }

private:
    // The folder's files, with their long names and their short ones; a name that stands for a
    // character the code page lacks ("?" and the like) is left to be looked for by itself.
    bool List()
    {
        char pattern[kPathCapacity];
        names_.Clear();
        if (!CopyText(pattern, folder_) || !AppendText(pattern, "*"))
            return false;
        WIN32_FIND_DATAA found;
        FindHandle search;
        search.Reset(FindFirstFileA(pattern, &found));
        if (!search.IsOpen())
            return false;
        do {
            AnswerNowAndThen();
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            ULONGLONG size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            if (IsRealFileName(found.cFileName))
                names_.Add(found.cFileName, size);
            if (IsRealFileName(found.cAlternateFileName))
                names_.Add(found.cAlternateFileName, size);
        } while (FindNextFileA(search.Get(), &found));
        return true;
    }

    char folder_[kPathCapacity] = "";
    bool listed_ = false;
    PathSet names_;
};

// The package the sheet was started with, kept with the page.
const Package& PackageOf(HWND page)
{
    return *reinterpret_cast<const Package*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}

INT_PTR OnInitDialog(HWND page, const PROPSHEETPAGEA* sheetPage)
{
    SetWindowLongPtrA(page, GWLP_USERDATA, sheetPage->lParam);
    const Package& package = PackageOf(page);
    installState.sheetWindow = GetParent(page);
    CenterWindow(installState.sheetWindow);
    SendDlgItemMessageA(page, IDC_DESTINATION, EM_LIMITTEXT, kPathCapacity - 1, 0);
    SetDlgItemTextA(page, IDC_PROMPT, FormatMessageText(IDS_FOLDER_PROMPT, package.title));
    SetWindowTextA(installState.sheetWindow, FormatMessageText(IDS_WIZARD_CAPTION, package.title));
    CheckRadioButton(page, IDC_FULL_INSTALL, IDC_FULL_INSTALL, IDC_FULL_INSTALL);
    return TRUE;
}

INT_PTR OnSetActive(HWND page)
{
    // Posted: the sheet is still switching pages while it sends this notification.
    PostMessageA(installState.sheetWindow, PSM_SETWIZBUTTONS, 0, PSWIZB_NEXT);
    SetDlgItemTextA(page, IDC_DESTINATION, installState.installDir);
    return 0;
}

// Takes the edit text into installDir with "\" separators and a trailing separator. A text that
// would not fit with its separator is refused rather than cut (a cut path names another folder);
// the edit's own limit stops typing, not text put there by the program or another window.
bool TakeDestination(HWND page)
{
    HWND edit = GetDlgItem(page, IDC_DESTINATION);
    if (GetWindowTextLengthA(edit) >= static_cast<int>(kPathCapacity))
        return false;
    GetWindowTextA(edit, installState.installDir, kPathCapacity);
    ReplaceChar(installState.installDir, '/', '\\');
    return AppendPathPart(installState.installDir, "");
}

// Creates the missing levels so that a destination that cannot be made is refused now; the last
// level goes again, the copy sequence makes it at its first step.
bool DestinationCanBeMade(EngineReport& report)
{
    DWORD attributes = GetFileAttributesA(installState.installDir);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    FolderFailure failure;
    if (!CreateFolderTree(installState.installDir, &failure)) {
        ReportFolderFailure(report, failure);
        return false;
    }
    if (RemoveDirectoryA(installState.installDir))
        LogAction(LogFolderRemoved, installState.installDir);
    return true;
}

// The installed copy and its setup file must each fit in a path, and so must the uninstall
// command that names the copy (it has room for any such path): otherwise the registration
// could not be written whole, and "/r" would never find the installed copy.
bool ProgramPathsFit(const Package& package)
{
    return ResolveInstallEntry(package, kInstallerEntry).resolved && ResolveInstallEntry(package, kSetupFileEntry).resolved;
}

// Another package's installation in the destination: an uninstall entry under another key
// whose program lies there, or the setup file this install would overwrite carrying another
// title or key. Its title (or the file's name) goes into title.
bool HoldsOtherInstallation(const Package& package, char (&title)[kPathCapacity])
{
    if (FindOtherEntry(package, installState.installDir, true, title))
        return true;
    ResolvedEntry setupFile = ResolveInstallEntry(package, kSetupFileEntry);
    if (!setupFile.resolved || GetFileAttributesA(setupFile.target) == INVALID_FILE_ATTRIBUTES)
        return false;
    char key[kPathCapacity];
    GetPrivateProfileStringA(kInstallSection, kTitleKey, "", title, sizeof title, setupFile.target);
    GetPrivateProfileStringA(kInstallSection, kInstallKeyKey, "", key, sizeof key, setupFile.target);
    if (lstrcmpA(title, package.title) == 0 && (key[0] == '\0' || lstrcmpiA(key, package.installKey) == 0))
        return false;
    if (title[0] == '\0')
        CopyText(title, FileNamePart(setupFile.target));
    return true;
}

bool HoldsAnything(const char* folder)
{
    char pattern[kPathCapacity];
    FileSearch search;
    if (!CopyText(pattern, folder) || !AppendPathPart(pattern, "*.*"))
        return true;
    for (bool found = search.First(pattern); found; found = search.Next()) {
        if (!search.IsDotEntry())
            return true;
    }
    return false;
}

// A destination that is already there is not the package's own unless an earlier install of
// this application made it: the uninstall then removes only what the package lists, and the
// folder only when nothing else is left in it. When it holds anything, the user decides.
bool AcceptExistingFolder(EngineReport& report)
{
    if (installState.earlierInstallDir[0] != '\0' &&
        IsSameFolder(installState.installDir, installState.earlierInstallDir)) {
        installState.folderWasThere = installState.earlierFolderWasThere;
        return true;
    }
    DWORD attributes = GetFileAttributesA(installState.installDir);
    installState.folderWasThere = attributes != INVALID_FILE_ATTRIBUTES;
    if (!installState.folderWasThere || !HoldsAnything(installState.installDir))
        return true;
    return report.Ask(Question::UseFolderWithFiles, FormatMessageText(IDS_FOLDER_NOT_EMPTY, installState.installDir),
                      nullptr);
}

// A root however it is written: "C:\.", "C:\Program Files\..\.." reach it as well.
bool NamesRoot(const char* folder)
{
    char full[kPathCapacity];
    if (!CopyText(full, folder) || !NormalizeFolderPath(full))
        return false;
    const char* rootEnd = FindRootEnd(full);
    return rootEnd != nullptr && rootEnd[1] == '\0';
}

INT_PTR OnWizardNext(HWND page)
{
    const Package& package = PackageOf(page);
    installState.reducedInstall = IsDlgButtonChecked(page, IDC_FULL_INSTALL) != BST_CHECKED;
    BoxReport boxes(page);
    if (!TakeDestination(page))
        return Refuse(boxes, IDS_NO_ROOT), Stay(page);
    DestinationVerdict verdict = CheckDestination(package, boxes);
    if (verdict == DestinationVerdict::LowDiskSpace) {
        // A fixed Shift-JIS text: shown decoded from code page 932 so that it reads the same
        // under every user's code page; the caption is the application's title.
        ShowJapaneseMessageBox(page, kLowDiskSpaceText, package.title, CP_ACP, MB_OK);
        return Stay(page);
    }
    if (verdict != DestinationVerdict::Accepted)
        return Stay(page);

    if (package.residentProgram) {
        // A resident program gets no program-menu shortcuts: straight to the copy page, and
        // stay, so that the sheet does not advance a second time on its own.
        SendMessageA(installState.sheetWindow, PSM_SETCURSEL, kCopyPageIndex, 0);
        return Stay(page);
    }
    return 0;
}

INT_PTR OnNotify(HWND page, const NMHDR* header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        return OnSetActive(page);
    case PSN_WIZNEXT:
        return OnWizardNext(page);
    }
    return FALSE;
}

INT_PTR OnCommand(HWND page, int controlId)
{
    switch (controlId) {
    case IDC_BROWSE:
        BrowseForDestination(page, IDC_DESTINATION);
        return 0;
    case IDC_ABOUT: {
        // The box owns the messages shown while it is open; the page's owner comes back after.
        HWND owner = installState.ownerWindow;
        DialogBoxParamA(installState.instance, MAKEINTRESOURCEA(IDD_ABOUT), page, AboutBox, 0);
        installState.ownerWindow = owner;
        return 0;
    }
    }
    return FALSE;
}

int CALLBACK BrowseCallback(HWND picker, UINT message, LPARAM, LPARAM data)
{
    const char* folder = reinterpret_cast<const char*>(data);
    if (message == BFFM_INITIALIZED && folder != nullptr && folder[0] != '\0')
        SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

DestinationVerdict CheckDestination(const Package& package, EngineReport& report)
{
    const char* rootEnd = FindRootEnd(installState.installDir);
    if (rootEnd == nullptr)
        return Refuse(report, IDS_NO_ROOT), DestinationVerdict::Refused;
    if (rootEnd[1] == '\0' || NamesRoot(installState.installDir))
        return Refuse(report, IDS_ROOT_FOLDER), DestinationVerdict::Refused;
    if (!DestinationCanBeMade(report))
        return DestinationVerdict::Refused;
    if (!ProgramPathsFit(package))
        return Refuse(report, IDS_DESTINATION_TOO_LONG), DestinationVerdict::Refused;
    char otherTitle[kPathCapacity];
    if (HoldsOtherInstallation(package, otherTitle)) {
        report.Failure(FormatMessageText(IDS_OTHER_INSTALLATION, installState.installDir, otherTitle));
        return DestinationVerdict::Refused;
    }
    if (!AcceptExistingFolder(report))
        return DestinationVerdict::Refused;
    unsigned needed = installState.reducedInstall ? RequiredMegabytes(package) : kFullInstallMegabytes;
    return FreeSpaceMegabytes() < needed ? DestinationVerdict::LowDiskSpace : DestinationVerdict::Accepted;
}

INT_PTR CALLBACK FolderPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(page, reinterpret_cast<const PROPSHEETPAGEA*>(lParam));
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        return OnCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

unsigned RequiredMegabytes(const Package& package)
{
    // The installer and its setup information file are copied as well (pseudo entries -1 and
    // 0), so they count like the file entries. Relative sources name files in the current
    // directory, which is the installer's folder while the wizard runs.
    unsigned long long bytes = 0;
    EntryReadingPass pass;
    SourceSizes sizes;
    for (int i = kFirstPlannedEntry; i <= LastPlannedEntry(package.fileCount); ++i) {
        AnswerNowAndThen();
        ResolvedEntry entry = ResolveInstallEntry(package, i);
        if (!entry.resolved)
            continue;  // never copied
        if (installState.reducedInstall && lstrcmpA(entry.source, kReducedOnlySource) == 0)
            continue;
        bytes += sizes.SizeOf(entry.source);
    }
    unsigned long long megabytes = (bytes + kMegabyte - 1) >> kMegabyteShift;
    return megabytes > kAllMegabytes ? kAllMegabytes : static_cast<unsigned>(megabytes);
}

unsigned FreeSpaceMegabytes()
{
    char root[kPathCapacity];
    DWORD length = GetFullPathNameA(installState.installDir, sizeof root, root, nullptr);
    if (length == 0 || length >= sizeof root)
        return 0;
    char* rootEnd = FindRootEnd(root);
    if (rootEnd == nullptr)
        return 0;
    rootEnd[1] = '\0';

    // GetDiskFreeSpaceExA first came with Windows 95 OSR2 and NT 4; looked up at run time so
    // that the program still loads on the first Windows 95.
    typedef BOOL(WINAPI * DiskFreeSpaceEx)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA");
    DiskFreeSpaceEx diskFreeSpaceEx = reinterpret_cast<DiskFreeSpaceEx>(reinterpret_cast<void (*)()>(found));

    unsigned long long freeBytes = 0;
    if (diskFreeSpaceEx != nullptr) {
        ULARGE_INTEGER available = {}, total = {}, totalFree = {};
        if (diskFreeSpaceEx(root, &available, &total, &totalFree))
            freeBytes = available.QuadPart;
    } else {
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
        if (GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
            freeBytes = static_cast<unsigned long long>(sectorsPerCluster) * bytesPerSector * freeClusters;
    }
    unsigned long long megabytes = freeBytes >> kMegabyteShift;
    return megabytes > kAllMegabytes ? kAllMegabytes : static_cast<unsigned>(megabytes);
}

namespace {

bool BrowseForDestination(HWND page, int editId)
{
    ComPointer<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.Receive())) || !allocator.IsSet())
        return false;

    // The picker opens on the current destination; a text that cannot be made a full path
    // (or is too long to take whole) opens it at the top instead.
    char folder[kPathCapacity] = "";
    HWND edit = GetDlgItem(page, editId);
    if (GetWindowTextLengthA(edit) < static_cast<int>(kPathCapacity)) {
        GetWindowTextA(edit, folder, sizeof folder);
        if (!NormalizeFolderPath(folder))
            folder[0] = '\0';
    }

    BROWSEINFOA info = {};
    info.hwndOwner = page;
    info.lpszTitle = folder;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(folder);

    bool chosen = false;
    LPITEMIDLIST items = SHBrowseForFolderA(&info);
    if (items != nullptr) {
        char path[MAX_PATH];
        if (SHGetPathFromIDListA(items, path))
            chosen = SetDlgItemTextA(page, editId, path) != FALSE;
        allocator->Free(items);
    }
    return chosen;
}

}  // namespace
