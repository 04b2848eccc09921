// The built program installs a package of the test's own under the English resources, driven
// through its wizard: the program-menu page's choices, every overwrite rule and failure report
// of the copy page, the closing text, and what happens after Finish.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "copy_e2e_package.h"
#include "wizard/install_steps.h"
#include "support/expected_messages.h"
#include "res/resource.h"

namespace {

const std::string kIncomplete = ExpectedText(IDS_INSTALL_INCOMPLETE, MessageLanguage::English);

std::string Joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += "[" + item + "]";
    return text;
}

// The stamp text the program shows for a file, formatted in this process's same locale.
std::string StampOf(const std::string& path, const std::string& name)
{
    char stamp[1024];
    FormatFileStamp(stamp, sizeof stamp, name.c_str(), LastWriteTime(path));
    return stamp;
}

class CopyInstallTest : public CopyEndToEnd {
protected:
    CopyInstallTest() : CopyEndToEnd("wizard_copy_e2e_full", "Copy E2E Puzzle") {}
};

TEST_F(CopyInstallTest, FullInstallWithEveryOverwriteRule)
{
    ASSERT_TRUE(WriteFileBytes(pkg + "readme.txt", "readme"));
    ASSERT_TRUE(WriteFileBytes(pkg + "newer.txt", "newer from package"));
    ASSERT_TRUE(WriteFileBytes(pkg + "keep.txt", "keep from package"));
    ASSERT_TRUE(WriteFileBytes(pkg + "locked.txt", "locked from package"));
    ASSERT_TRUE(WriteFileBytes(pkg + "02", "voice"));
    ASSERT_TRUE(CopyFileA(COPY_MARKER_EXE, (pkg + "marker.exe").c_str(), FALSE));
    WritePackage("1=readme.txt\r\n2=newer.txt\r\n3=keep.txt\r\n4=missing.txt\r\n5=locked.txt\r\n6=02\r\n7=marker.exe\r\n"
                 "Open=marker.exe\r\n",
                 "1=Puzzle,readme.txt\r\n2=Uninstall Puzzle,SETUP.EXE,/r\r\n");

    // What an earlier installation left: its registration, a newer installer copy, two newer
    // files (one read-only) and an older one that another program holds open.
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, uninstallEntry.path().c_str(), "DisplayName", title));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, uninstallEntry.path().c_str(), "UninstallString",
                                  "\"" + dest + "SETUP.EXE\" /r"));
    ASSERT_TRUE(WriteFileBytes(dest + "SETUP.EXE", "earlier installed copy"));
    SetFileTimeDaysAgo(pkg + "SETUP.EXE", 10);
    ASSERT_TRUE(WriteFileBytes(dest + "newer.txt", "newer installed"));
    ASSERT_TRUE(WriteFileBytes(dest + "keep.txt", "keep installed"));
    ASSERT_TRUE(WriteFileBytes(dest + "locked.txt", "locked installed"));
    for (const char* name : {"newer.txt", "keep.txt", "locked.txt"})
        SetFileTimeDaysAgo(pkg + name, 10);
    SetFileTimeDaysAgo(dest + "newer.txt", 1);
    SetFileTimeDaysAgo(dest + "keep.txt", 2);
    SetFileTimeDaysAgo(dest + "locked.txt", 20);
    SetFileAttributesA((dest + "keep.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    std::string newerQuestion = dest + "newer.txt is already exists.\nDo you overwrite the existing file?\n\n Copy To   : " +
                                StampOf(dest + "newer.txt", "newer.txt") + "\n Copy From : " +
                                StampOf(pkg + "newer.txt", "newer.txt");
    std::string keepQuestion = dest + "keep.txt is already exists.\nDo you overwrite the existing file?\n\n Copy To   : " +
                               StampOf(dest + "keep.txt", "keep.txt") + "\n Copy From : " +
                               StampOf(pkg + "keep.txt", "keep.txt");
    HANDLE held = CreateFileA((dest + "locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    ASSERT_TRUE(StartAndLeaveFolderPage());

    // The program-menu page: the Start Menu's folders without Startup, the default folder
    // selected; the typed text is taken relative to the Start Menu.
    EXPECT_EQ(Joined(ComboItems(menuPage, IDC_MENU_FOLDER)),
              "[Games][Programs][Programs\\Accessories][Programs\\Copy E2E Puzzle]");
    EXPECT_EQ(ControlText(menuPage, IDC_MENU_FOLDER), "Programs\\Copy E2E Puzzle");
    EXPECT_TRUE(IsChecked(menuPage, IDC_MENU_SHORTCUTS));
    EXPECT_FALSE(IsChecked(menuPage, IDC_DESKTOP_SHORTCUT));
    ASSERT_TRUE(SetControlText(menuPage, IDC_MENU_FOLDER, "Games\\Puzzle"));
    ASSERT_TRUE(SetCheck(menuPage, IDC_DESKTOP_SHORTCUT, true));
    ASSERT_TRUE(LeaveMenuPage());

    // The reports, in entry order.
    MessageBoxInfo box = AnswerMessageBox(run.processId, IDYES);
    EXPECT_EQ(box.text, newerQuestion);
    EXPECT_EQ(box.caption, "Confirmation");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    box = AnswerMessageBox(run.processId, IDNO);
    EXPECT_EQ(box.text, keepQuestion);
    box = AnswerMessageBox(run.processId, IDOK);
    EXPECT_EQ(box.text, ExpectedText(IDS_COPY_FAILED, MessageLanguage::English, {"missing.txt"}));
    EXPECT_TRUE(box.hasIcon);
    box = AnswerMessageBox(run.processId, IDOK);
    EXPECT_EQ(box.text, dest + "locked.txt is in use so that overwriting cannot be executed.");
    CloseHandle(held);

    // Two files were not installed: the closing texts do not speak of success.
    ASSERT_TRUE(WaitForFinish());
    EXPECT_EQ(ControlText(copyPage, IDC_STATUS), kIncomplete);
    EXPECT_TRUE(ControlVisible(copyPage, IDC_UNINSTALL_HINT));
    EXPECT_EQ(ControlText(copyPage, IDC_UNINSTALL_HINT), ExpectedText(IDS_UNINSTALL_HINT, MessageLanguage::English, {"Uninstall Puzzle"}));
    EXPECT_FALSE(ControlVisible(copyPage, IDC_PROGRESS));
    box = PressFinish();
    EXPECT_EQ(box.text, kIncomplete);
    EXPECT_EQ(box.caption, title);
    EXPECT_EQ(run.WaitExit(), 1);

    // Files.
    EXPECT_EQ(ReadFileBytes(dest + "SETUP.EXE"), ReadFileBytes(pkg + "SETUP.EXE")) << "replaced without a question";
    EXPECT_EQ(ReadFileBytes(dest + "SETUP.INF"), ReadFileBytes(pkg + "SETUP.INF"));
    EXPECT_EQ(ReadFileBytes(dest + "readme.txt"), "readme");
    EXPECT_EQ(ReadFileBytes(dest + "newer.txt"), "newer from package");
    EXPECT_EQ(ReadFileBytes(dest + "keep.txt"), "keep installed");
    EXPECT_EQ(GetFileAttributesA((dest + "keep.txt").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(ReadFileBytes(dest + "locked.txt"), "locked installed");
    EXPECT_FALSE(FileExists(dest + "missing.txt"));
    EXPECT_FALSE(FileExists(dest + "02")) << "the reduced installation skips entry 02";
    // The "Open" file is the installed copy, opened in the destination folder.
    EXPECT_TRUE(WaitUntil([&] { return FileExists(dest + "opened.marker"); }));
    EXPECT_FALSE(FileExists(pkg + "opened.marker"));

    // Shortcuts: the group in <Start Menu>\Games\Puzzle, the single one on the desktop.
    EXPECT_EQ(Joined(LinksBelow(startMenu)), "[Games\\Puzzle\\Puzzle.lnk][Games\\Puzzle\\Uninstall Puzzle.lnk]");
    EXPECT_EQ(Joined(LinksBelow(desktop)), "[Copy E2E Puzzle.lnk]");

    // Registration.
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, uninstallEntry.path().c_str(), "UninstallString").text(),
              "\"" + dest + "SETUP.EXE\" /r");
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, uninstallEntry.path().c_str(), "MenuDir").text(),
              startMenu + "\\Games\\Puzzle");
    EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, "Software\\Tamberlyn\\tq", "ExecPath").text(), dest);
}

class CopyReinstallTest : public CopyEndToEnd {
protected:
    CopyReinstallTest() : CopyEndToEnd("wizard_copy_e2e_reinstall", "Copy E2E Reinstall") {}

    // The short form of an existing path, as Windows 95 programs and old shortcuts spell it.
    static std::string ShortForm(const std::string& path)
    {
        char shortPath[MAX_PATH];
        DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
        return length != 0 && length < MAX_PATH ? shortPath : "";
    }
};

// The installed copy started again: every entry is its own source, named by another spelling
// of the same folder (short names, other case). Nothing is copied onto itself, no box appears,
// the installation reads as complete, and the files (the user's own among them) stay as they
// were.
TEST_F(CopyReinstallTest, InstalledCopyStartedAgainCopiesNothingOntoItself)
{
    ASSERT_TRUE(WriteFileBytes(pkg + "readme.txt", "readme"));
    ASSERT_TRUE(WriteFileBytes(pkg + "data\\level1.dat", "level one"));
    WritePackage("1=readme.txt\r\n2=data\\level1.dat\r\n");
    ASSERT_TRUE(StartAndLeaveFolderPage());
    ASSERT_TRUE(SetCheck(menuPage, IDC_MENU_SHORTCUTS, false));
    ASSERT_TRUE(LeaveMenuPage());
    ASSERT_TRUE(WaitForFinish());
    EXPECT_EQ(PressFinish().text, ExpectedText(IDS_INSTALL_COMPLETED, MessageLanguage::English));
    EXPECT_EQ(run.WaitExit(), 1);
    ASSERT_TRUE(WriteFileBytes(dest + "saved game.sav", "the user's own"));
    FILETIME before = LastWriteTime(dest + "readme.txt");

    // The installed copy, started by its short name; the destination typed in lower case.
    std::string shortDest = ShortForm(dest);
    ASSERT_NE("", shortDest);
    ASSERT_NE(dest, shortDest) << "the test folder has a long name";
    std::string typed = shortDest;
    CharLowerA(&typed[0]);
    ASSERT_TRUE(run.Start(shortDest + "SETUP.EXE", "abc"));
    sheet = WaitForDialog(run.processId, 20000);
    ASSERT_NE(nullptr, sheet);
    HWND folderPage = WaitForPageWith(sheet, IDC_DESTINATION);
    ASSERT_NE(nullptr, folderPage);
    ASSERT_TRUE(WaitForWizardButton(sheet, kNextButton));
    ASSERT_TRUE(SetControlText(folderPage, IDC_DESTINATION, typed));
    PressWizardButton(sheet, PSBTN_NEXT);
    menuPage = WaitForPageWith(sheet, IDC_MENU_SHORTCUTS);
    ASSERT_NE(nullptr, menuPage);
    ASSERT_TRUE(SetCheck(menuPage, IDC_MENU_SHORTCUTS, false));
    ASSERT_TRUE(LeaveMenuPage());

    ASSERT_TRUE(WaitForFinish());
    EXPECT_EQ(DialogsOf(run.processId).size(), 1u) << "no message box on the way";
    EXPECT_EQ(ControlText(copyPage, IDC_STATUS), ExpectedText(IDS_INSTALL_SUCCEEDED, MessageLanguage::English));
    MessageBoxInfo box = PressFinish();
    EXPECT_EQ(box.text, ExpectedText(IDS_INSTALL_COMPLETED, MessageLanguage::English));
    EXPECT_EQ(run.WaitExit(), 1);

    EXPECT_EQ(ReadFileBytes(dest + "readme.txt"), "readme");
    EXPECT_EQ(ReadFileBytes(dest + "data\\level1.dat"), "level one");
    EXPECT_EQ(ReadFileBytes(dest + "SETUP.EXE"), ReadFileBytes(pkg + "SETUP.EXE"));
    EXPECT_EQ(ReadFileBytes(dest + "SETUP.INF"), ReadFileBytes(pkg + "SETUP.INF"));
    EXPECT_EQ(ReadFileBytes(dest + "saved game.sav"), "the user's own");
    FILETIME after = LastWriteTime(dest + "readme.txt");
    EXPECT_EQ(CompareFileTime(&before, &after), 0) << "not written again";
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, uninstallEntry.path().c_str()));
}

class CopyBareInstallTest : public CopyEndToEnd {
protected:
    CopyBareInstallTest() : CopyEndToEnd("wizard_copy_e2e_bare", "Copy E2E Bare") {}
};

TEST_F(CopyBareInstallTest, NoEntriesBothBoxesClearedNoShortcutsAndTheControlPanelHint)
{
    // Only the English-suffixed setup file: installed under the program's own name. The
    // uninstall shortcut of the group is not made, so the hint names the Control Panel.
    WritePackage("", "1=Uninstall Bare,SETUP.EXE,/r\r\n", "SETUPE.INF");
    ASSERT_TRUE(StartAndLeaveFolderPage());
    ASSERT_TRUE(SetCheck(menuPage, IDC_MENU_SHORTCUTS, false));
    ASSERT_TRUE(SetCheck(menuPage, IDC_DESKTOP_SHORTCUT, false));
    ASSERT_TRUE(LeaveMenuPage());

    ASSERT_TRUE(WaitForFinish());
    HWND progress = GetDlgItem(copyPage, IDC_PROGRESS);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, FALSE, 0), 3) << "four steps for no file entries";
    EXPECT_EQ(ControlText(copyPage, IDC_UNINSTALL_HINT),
              "Use <Add/Remove Programs> in the Control Panel for the uninstallation.");
    EXPECT_TRUE(ControlVisible(copyPage, IDC_UNINSTALL_HINT));
    EXPECT_TRUE(DialogsOf(run.processId).size() == 1u) << "no message box on the way";
    MessageBoxInfo box = PressFinish();
    EXPECT_EQ(box.text, ExpectedText(IDS_INSTALL_COMPLETED, MessageLanguage::English));
    EXPECT_EQ(run.WaitExit(), 1);

    EXPECT_EQ(ReadFileBytes(dest + "SETUP.EXE"), ReadFileBytes(pkg + "SETUP.EXE"));
    EXPECT_EQ(ReadFileBytes(dest + "SETUP.INF"), ReadFileBytes(pkg + "SETUPE.INF"));
    EXPECT_FALSE(FileExists(dest + "SETUPE.INF"));
    EXPECT_EQ(Joined(LinksBelow(startMenu)), "");
    EXPECT_EQ(Joined(LinksBelow(desktop)), "");
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, uninstallEntry.path().c_str(), "DisplayName").text(), title);
}

TEST_F(CopyBareInstallTest, CancelBeforeCopyingIsReportedAsInterrupted)
{
    WritePackage("");
    ASSERT_TRUE(StartAndLeaveFolderPage());
    PressWizardButton(sheet, PSBTN_CANCEL);
    MessageBoxInfo box = AnswerMessageBox(run.processId, IDOK);
    EXPECT_EQ(box.text, ExpectedText(IDS_INSTALL_INTERRUPTED, MessageLanguage::English));
    EXPECT_EQ(box.caption, title);
    EXPECT_EQ(run.WaitExit(), 1);
    EXPECT_FALSE(FileExists(dest + "SETUP.EXE"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, uninstallEntry.path().c_str()));
}

}  // namespace
