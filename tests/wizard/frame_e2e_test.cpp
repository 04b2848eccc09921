// The wizard frame and its destination-folder page driven like a user, English resources:
// caption and prompt, every refusal of the destination, the folder levels made on the way, the
// jump of a resident program, the free space an installation's files need, Browse and About.
#include <gtest/gtest.h>

#include <windows.h>
#include <prsht.h>

#include <string>

#include "support/end_to_end_test.h"
#include "frame_package.h"
#include "wizard/about_box.h"
#include "support/expected_messages.h"
#include "res/resource.h"

namespace {

const std::string kNoRoot = ExpectedText(IDS_NO_ROOT, MessageLanguage::English);
const std::string kRootFolder = ExpectedText(IDS_ROOT_FOLDER, MessageLanguage::English);
const std::string kInterrupted = ExpectedText(IDS_INSTALL_INTERRUPTED, MessageLanguage::English);
const char kLowDiskSpace[] = "指定されたドライブの空き容量が不足しています。";
const std::string kCaption = ExpectedText(IDS_WIZARD_CAPTION, MessageLanguage::English, {"Frame Puzzle"});

constexpr unsigned long long kMiB = 1ull << 20;

std::string WithSlashes(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

class WizardFrameE2e : public EndToEndTest {};

// The page stays: no other page became current and the typed text is still there.
void ExpectStillOnFolderPage(HWND sheet, HWND page, const std::string& typed)
{
    EXPECT_EQ(page, CurrentPage(sheet));
    EXPECT_EQ(typed, ControlText(page, 1001));
}

void CancelAndExpectInterrupted(ProgramRun& run, HWND sheet)
{
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_CANCEL));
    EXPECT_EQ(kInterrupted, AnswerMessageBox(run.processId, IDOK).text);
    EXPECT_EQ(1, run.WaitExit());
}

TEST_F(WizardFrameE2e, FolderPageRefusesWhatCannotBeADestination)
{
    FramePackage package("wizard_frame_refusals",
                         "Title=Frame Puzzle\r\nFolder=\\FrameGames\\Puzzle\r\nInstallKey=TinySetupFrameRefusals\r\n"
                         "1=readme.txt\r\n");
    ASSERT_TRUE(WriteFileBytes(package.folder / "readme.txt", "read me\r\n"));
    ASSERT_TRUE(WriteFileBytes(package.folder / "Blocked\\Puzzle", "a file where a folder is wanted"));
    ProgramRun run;
    HWND sheet = StartWizard(run, package, kCaption);
    ASSERT_NE(nullptr, sheet) << "no wizard with the caption \"" << kCaption << "\"";
    HWND page = CurrentPage(sheet);
    EXPECT_EQ(ExpectedText(IDS_FOLDER_PROMPT, MessageLanguage::English, {"Frame Puzzle"}), ControlText(page, 1000));
    // The default destination arrives with its trailing separator.
    std::string initial = ControlText(page, 1001);
    EXPECT_EQ(':', initial.size() > 1 ? initial[1] : 0) << initial;
    EXPECT_EQ("\\FrameGames\\Puzzle\\", initial.size() > 2 ? initial.substr(2) : initial);

    std::string blocked = package.folder / "Blocked\\Puzzle";
    // 259 characters fill the edit; with the separator added they no longer fit a path.
    std::string full = "C:\\" + std::string(256, 'a');
    // Longer than the edit takes from the keyboard (another program can put it there); its
    // first 259 characters would name an acceptable folder, so cutting it would be wrong.
    std::string overlong = package.folder / "Long\\" + std::string(300, 'b');
    struct Row {
        std::string text;
        std::string message;
    } rows[] = {
        {"D:", kNoRoot},
        {"C:Games", kNoRoot},
        {"Games\\Puzzle", kNoRoot},
        {"Games/Puzzle", kNoRoot},
        {"D:\\", kRootFolder},
        {"d:/", kRootFolder},
        {"", kRootFolder},
        {"\\", kRootFolder},
        {"\\\\server\\share", kRootFolder},
        {"\\\\server\\share\\", kRootFolder},
        {WithSlashes(blocked) + "/Deeper",
         ExpectedText(IDS_FOLDER_IS_FILE, MessageLanguage::English, {blocked})},
        {blocked, ExpectedText(IDS_FOLDER_IS_FILE, MessageLanguage::English, {blocked})},
        {full, kNoRoot},
        {overlong, kNoRoot},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("destination \"" + row.text + "\"");
        ShownBox shown = NextWithDestination(run, sheet, row.text);
        const MessageBoxInfo& box = shown.info;
        EXPECT_EQ(row.message, box.text);
        EXPECT_TRUE(shown.iconShown);
        EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
        EXPECT_EQ("Error", box.caption) << "the platform's default caption";
        EXPECT_EQ(sheet, box.owner) << "owned by the page, i.e. by the wizard window";
        ExpectStillOnFolderPage(sheet, page, row.text);
    }
    EXPECT_FALSE(FolderExists(blocked + "\\Deeper"));
    EXPECT_FALSE(FolderExists(package.folder / "Long"));
    EXPECT_FALSE(FolderExists(full));
    CancelAndExpectInterrupted(run, sheet);
}

TEST_F(WizardFrameE2e, AcceptedDestinationGetsBackslashesAndTrailingSeparator)
{
    FramePackage package("wizard_frame_accept",
                         "Title=Frame Puzzle\r\nFolder=\\FrameGames\\Puzzle\r\nInstallKey=TinySetupFrameAccept\r\n"
                         "1=readme.txt\r\n");
    ASSERT_TRUE(WriteFileBytes(package.folder / "readme.txt", "read me\r\n"));
    ProgramRun run;
    HWND sheet = StartWizard(run, package, kCaption);
    ASSERT_NE(nullptr, sheet);
    HWND folderPage = CurrentPage(sheet);

    // Deep and Deep\Games do not exist yet: they are made and stay, Puzzle is made and removed.
    std::string typed = WithSlashes(package.folder / "Deep/Games/Puzzle");
    ASSERT_TRUE(SetControlText(folderPage, 1001, typed));
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_NEXT));
    HWND menuPage = WaitForPageWith(sheet, 1007);
    ASSERT_NE(nullptr, menuPage) << "the program-menu page did not follow";
    EXPECT_TRUE(FolderExists(package.folder / "Deep\\Games"));
    EXPECT_FALSE(FolderExists(package.folder / "Deep\\Games\\Puzzle"));

    ASSERT_TRUE(WaitForWizardButton(sheet, kBackButtonId));
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_BACK));
    ASSERT_EQ(folderPage, WaitForPageWith(sheet, 1001));
    EXPECT_EQ(package.folder / "Deep\\Games\\Puzzle\\", ControlText(folderPage, 1001));

    // Next again repeats the tests: the folder levels above still exist, Puzzle comes and goes.
    ASSERT_TRUE(WaitForWizardButton(sheet, kNextButtonId));
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_NEXT));
    EXPECT_EQ(menuPage, WaitForPageWith(sheet, 1007));
    EXPECT_FALSE(FolderExists(package.folder / "Deep\\Games\\Puzzle"));
    CancelAndExpectInterrupted(run, sheet);
}

TEST_F(WizardFrameE2e, ResidentProgramGoesStraightToTheCopyPage)
{
    const char kTitle[] = "Frame Resident";
    const char kKey[] = "TinySetupFrameResident";
    const char kApplicationKey[] = "Software\\Tamberlyn\\tq";
    std::string uninstallKey = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kKey;
    bool applicationKeyExisted = RegistryKeyExists(HKEY_CURRENT_USER, kApplicationKey);
    FramePackage package("wizard_frame_resident", std::string("Title=") + kTitle +
                                                      "\r\nFolder=\\FrameGames\\Resident\r\nInstallKey=" + kKey +
                                                      "\r\nTSR=1\r\n1=readme.txt\r\n");
    ASSERT_TRUE(WriteFileBytes(package.folder / "readme.txt", "read me\r\n"));
    {
        ProgramRun run;
        HWND sheet = StartWizard(run, package, ExpectedText(IDS_WIZARD_CAPTION, MessageLanguage::English, {kTitle}));
        ASSERT_NE(nullptr, sheet);
        ASSERT_TRUE(SetControlText(CurrentPage(sheet), 1001, package.folder / "Dest"));
        ASSERT_TRUE(PressWizardButton(sheet, PSBTN_NEXT));
        EXPECT_NE(nullptr, WaitForPageWith(sheet, 1008)) << "the copy page did not follow";
        // The program-menu page was never created.
        EXPECT_EQ(0, SendMessageW(sheet, PSM_INDEXTOHWND, 1, 0));
        EXPECT_NE(0, SendMessageW(sheet, PSM_INDEXTOHWND, 2, 0));
        run.Kill();
    }
    // The copy sequence may have begun: take back what it can have left outside the folder.
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKey.c_str());
    if (!applicationKeyExisted)
        DeleteRegistryTree(HKEY_CURRENT_USER, kApplicationKey);
    std::string startup = ReadRegistryValue(HKEY_CURRENT_USER,
                                            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                            "Startup").text();
    if (!startup.empty())
        DeleteFileA((startup + "\\" + kTitle + ".lnk").c_str());
}

// English installations are reduced ones: refused exactly when their files, the installer and
// the setup information file included and "02" entries left out, do not fit on the drive.
TEST_F(WizardFrameE2e, FreeSpaceMustHoldTheFilesOfTheInstallation)
{
    ULARGE_INTEGER available = {}, total = {}, totalFree = {};
    ASSERT_TRUE(GetDiskFreeSpaceExA("V:\\", &available, &total, &totalFree)) << "is the drives fixture mounted?";
    unsigned long long freeBytes = (available.QuadPart >> 20) << 20;
    ASSERT_GE(freeBytes, 32 * kMiB);

    FramePackage package("wizard_frame_space_en",
                         "Title=Frame Puzzle\r\nFolder=\\FrameGames\\Puzzle\r\nInstallKey=TinySetupFrameSpace\r\n"
                         "1=data.bin\r\n2=02\r\n3=readme.txt\r\n");
    ASSERT_TRUE(WriteFileBytes(package.folder / "readme.txt", "read me\r\n"));
    ASSERT_TRUE(WriteSizedFile(package.folder / "02", 2 * freeBytes));
    unsigned long long others = FileSize(package.exe) + FileSize(package.folder / "SETUP.INF") +
                                FileSize(package.folder / "readme.txt");
    ASSERT_TRUE(WriteSizedFile(package.folder / "data.bin", freeBytes - others));

    ProgramRun run;
    HWND sheet = StartWizard(run, package, kCaption);
    ASSERT_NE(nullptr, sheet);
    HWND folderPage = CurrentPage(sheet);
    ASSERT_TRUE(SetControlText(folderPage, 1001, "V:\\Game"));
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_NEXT));
    EXPECT_NE(nullptr, WaitForPageWith(sheet, 1007)) << "files of exactly the free space were refused";
    EXPECT_FALSE(FolderExists("V:\\Game"));

    ASSERT_TRUE(WaitForWizardButton(sheet, kBackButtonId));
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_BACK));
    ASSERT_EQ(folderPage, WaitForPageWith(sheet, 1001));
    // One byte more than the drive holds.
    ASSERT_TRUE(WriteSizedFile(package.folder / "data.bin", freeBytes - others + 1));
    ShownBox shown = NextWithDestination(run, sheet, "V:\\Game");
    const MessageBoxInfo& box = shown.info;
    EXPECT_EQ(kLowDiskSpace, box.text);
    EXPECT_EQ("Frame Puzzle", box.caption);
    EXPECT_FALSE(shown.iconShown);
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
    ExpectStillOnFolderPage(sheet, folderPage, "V:\\Game");
    CancelAndExpectInterrupted(run, sheet);
}

TEST_F(WizardFrameE2e, BrowseOpensOnTheDestinationAndReturnsIt)
{
    FramePackage package("wizard_frame_browse",
                         "Title=Frame Puzzle\r\nFolder=\\FrameGames\\Puzzle\r\nInstallKey=TinySetupFrameBrowse\r\n");
    std::string games = package.folder / "Games";
    ASSERT_TRUE(CreateDirectoryA(games.c_str(), nullptr));
    ProgramRun run;
    HWND sheet = StartWizard(run, package, kCaption);
    ASSERT_NE(nullptr, sheet);
    HWND page = CurrentPage(sheet);

    struct Row {
        const char* label;
        int button;
        std::string expected;
    } rows[] = {
        {"closed without a choice", IDCANCEL, games + "\\"},
        // The picker opened on the destination; the shell's path has no trailing separator.
        {"chosen", IDOK, games},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        ASSERT_TRUE(SetControlText(page, 1001, games + "\\"));
        ASSERT_TRUE(PressButton(page, 1002));
        HWND picker = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            for (HWND dialog : DialogsOf(run.processId))
                if (dialog != sheet)
                    picker = dialog;
            return picker != nullptr;
        })) << "no folder picker";
        // The picker selects the folder after it has appeared.
        Sleep(500);
        ASSERT_TRUE(PressButton(picker, row.button));
        ASSERT_TRUE(WaitGone(picker));
        EXPECT_TRUE(WaitUntil([&] { return ControlText(page, 1001) == row.expected; }, 3000))
            << "edit holds \"" << ControlText(page, 1001) << "\"";
    }
    CancelAndExpectInterrupted(run, sheet);
}

TEST_F(WizardFrameE2e, AboutBoxShowsTheProgramsVersion)
{
    FramePackage package("wizard_frame_about",
                         "Title=Frame Puzzle\r\nFolder=\\FrameGames\\Puzzle\r\nInstallKey=TinySetupFrameAbout\r\n");
    ProgramRun run;
    HWND sheet = StartWizard(run, package, kCaption);
    ASSERT_NE(nullptr, sheet);
    ASSERT_TRUE(PressButton(CurrentPage(sheet), 1003));
    HWND about = WaitForDialog(run.processId, kDefaultDeadlineMs, "Version Infomation");
    ASSERT_NE(nullptr, about) << "no about box";

    // An English user reaches the Japanese table, the only one listed; there is no SpecialBuild.
    VersionInfo version(package.exe.c_str());
    ASSERT_TRUE(version.IsLoaded());
    auto japanese = [&](const char* name) {
        const char* value = version.QueryStringFor(name, 0x0411, 0x04B0);
        return Utf8FromAnsi(value != nullptr ? value : "");
    };
    std::string expected = japanese("ProductName") + "\n\n" + japanese("ProductVersion") + "  (Build: " +
                           japanese("FileVersion") + ")";
    EXPECT_NE("", japanese("ProductName"));
    EXPECT_EQ(expected, ControlText(about, 1002));
    EXPECT_EQ(japanese("LegalCopyright"), ControlText(about, 1001));
    EXPECT_EQ(japanese("Comments"), ControlText(about, 1003));

    ASSERT_TRUE(PressButton(about, IDOK));
    EXPECT_TRUE(WaitGone(about));
    // Opened anew, read anew; Escape (Cancel) closes it as well.
    ASSERT_TRUE(PressButton(CurrentPage(sheet), 1003));
    about = WaitForDialog(run.processId, kDefaultDeadlineMs, "Version Infomation");
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(expected, ControlText(about, 1002));
    PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitGone(about));
    CancelAndExpectInterrupted(run, sheet);
}

}  // namespace
