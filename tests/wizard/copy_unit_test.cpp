// Copy page: the copy of one entry with its overwrite rules, the overwrite question, the
// file stamp text, and the whole step sequence run on a page made from template 105.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "copy_test_helpers.h"
#include "res/resource.h"
#include "setup/install_state.h"
#include "support/test_support.h"
#include "wizard/copy_page.h"
#include "setup/install_plan.h"
#include "uninstall/removal.h"
#include "wizard/install_steps.h"
#include "support/expected_messages.h"

namespace {

std::string TestName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("wizard_copy_") + info->name();
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    return name;
}

// The attributes a kept or copied target must have lost. (Wine reports every file as
// archived, so "normal" is checked as the absence of these.)
DWORD Restricting(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

bool Shown(HWND control)
{
    return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

class CopyEntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installState = InstallState{};
        testPackage = Package{};
        installState.instance = GetModuleHandleA(nullptr);
        installState.ownerWindow = reinterpret_cast<HWND>(0x1234);  // only passed through
        GetCurrentDirectoryA(sizeof savedDirectory, savedDirectory);
        SetCurrentDirectoryA(folder.path().c_str());
    }
    void TearDown() override { SetCurrentDirectoryA(savedDirectory); }

    void SetEntry(const std::string& source, const std::string& target)
    {
        lstrcpyA(entry.source, source.c_str());
        lstrcpyA(entry.target, target.c_str());
    }

    ResolvedEntry entry{};
    BoxReport report{reinterpret_cast<HWND>(0x1234)};  // the owner is only passed through

    TempFolder folder{TestName().c_str()};
    MessageBoxRecorder boxes{IDYES};
    char savedDirectory[MAX_PATH] = "";
};

TEST_F(CopyEntryTest, NewTargetGetsItsFolderAndNormalAttributes)
{
    ASSERT_TRUE(WriteFileBytes(folder / "src\\a.dat", "new bytes"));
    SetFileAttributesA((folder / "src\\a.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    SetEntry(folder / "src\\a.dat", folder / "dest\\sub\\deeper\\a.dat");

    CopyEntryFile(entry, AskBeforeReplacingNewer, report);

    EXPECT_EQ(ReadFileBytes(folder / "dest\\sub\\deeper\\a.dat"), "new bytes");
    EXPECT_EQ(Restricting(folder / "dest\\sub\\deeper\\a.dat"), 0u);
    EXPECT_TRUE(boxes.boxes.empty());
    SetFileAttributesA((folder / "src\\a.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CopyEntryTest, MissingSourceIsReportedWithTheSourceText)
{
    SetEntry("missing.txt", folder / "dest\\missing.txt");

    CopyEntryFile(entry, AskBeforeReplacingNewer, report);

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, ExpectedText(IDS_COPY_FAILED, MessageLanguage::English, {"missing.txt"}));
    EXPECT_EQ(boxes.boxes[0].style, static_cast<UINT>(MB_ICONERROR));
    EXPECT_FALSE(boxes.boxes[0].hasCaption);
    EXPECT_EQ(boxes.boxes[0].owner, installState.ownerWindow);
    EXPECT_FALSE(FileExists(folder / "dest\\missing.txt"));
}

TEST_F(CopyEntryTest, FolderThatIsAFileStopsTheEntry)
{
    ASSERT_TRUE(WriteFileBytes(folder / "a.txt", "a"));
    ASSERT_TRUE(WriteFileBytes(folder / "dest\\blocked", "a file where a folder should be"));
    SetEntry("a.txt", folder / "dest\\blocked\\a.txt");

    CopyEntryFile(entry, AskBeforeReplacingNewer, report);

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              ExpectedText(IDS_FOLDER_IS_FILE, MessageLanguage::English, {folder / "dest\\blocked"}));
    EXPECT_EQ(ReadFileBytes(folder / "dest\\blocked"), "a file where a folder should be");
}

// Existing targets: who decides, and what is left.
struct OverwriteRow {
    const char* name;
    int targetAgeDays;   // the source is 10 days old
    bool silent;
    int answer;
    bool readOnlyTarget;
    bool asks;
    bool replaced;
};

void PrintTo(const OverwriteRow& row, std::ostream* out)
{
    *out << row.name;
}

class OverwriteTest : public CopyEntryTest, public ::testing::WithParamInterface<OverwriteRow> {};

TEST_P(OverwriteTest, ExistingTarget)
{
    const OverwriteRow& row = GetParam();
    std::string target = folder / "dest\\file.txt";
    ASSERT_TRUE(WriteFileBytes(folder / "file.txt", "source"));
    ASSERT_TRUE(WriteFileBytes(target, "target"));
    SetFileTimeDaysAgo(folder / "file.txt", 10);
    SetFileTimeDaysAgo(target, row.targetAgeDays);
    if (row.readOnlyTarget)
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    boxes.setAnswer(row.answer);
    SetEntry("file.txt", target);

    CopyEntryFile(entry, row.silent ? ReplaceSilently : AskBeforeReplacingNewer, report);

    EXPECT_EQ(boxes.boxes.size(), row.asks ? 1u : 0u) << row.name;
    EXPECT_EQ(ReadFileBytes(target), row.replaced ? "source" : "target") << row.name;
    EXPECT_EQ(Restricting(target), 0u) << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OverwriteTest,
    ::testing::Values(OverwriteRow{"older target replaced silently", 20, false, IDNO, false, false, true},
                      OverwriteRow{"newer target, Yes replaces", 1, false, IDYES, false, true, true},
                      OverwriteRow{"newer target, No keeps", 1, false, IDNO, false, true, false},
                      OverwriteRow{"newer target, silent replaces", 1, true, IDNO, false, false, true},
                      OverwriteRow{"newer read-only target kept becomes normal", 1, false, IDNO, true, true, false}),
    [](const ::testing::TestParamInfo<OverwriteRow>& info) { return std::to_string(info.index); });

TEST_F(CopyEntryTest, NewerTargetQuestionNamesTargetAndBothStamps)
{
    std::string target = folder / "dest\\file.txt";
    ASSERT_TRUE(WriteFileBytes(folder / "file.txt", "source"));
    ASSERT_TRUE(WriteFileBytes(target, "target"));
    SetFileTimeDaysAgo(folder / "file.txt", 10);
    SetFileTimeDaysAgo(target, 1);
    SetEntry("file.txt", target);

    char sourceStamp[1024], targetStamp[1024];
    FormatFileStamp(sourceStamp, sizeof sourceStamp, "file.txt", LastWriteTime(folder / "file.txt"));
    FormatFileStamp(targetStamp, sizeof targetStamp, "file.txt", LastWriteTime(target));
    ASSERT_STRNE(sourceStamp, targetStamp);

    CopyEntryFile(entry, AskBeforeReplacingNewer, report);

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, target + " is already exists.\nDo you overwrite the existing file?\n\n Copy To   : " +
                                       targetStamp + "\n Copy From : " + sourceStamp);
    EXPECT_EQ(boxes.boxes[0].caption, "Confirmation");
    EXPECT_EQ(boxes.boxes[0].style, static_cast<UINT>(MB_ICONQUESTION | MB_YESNO));
    EXPECT_EQ(boxes.boxes[0].owner, installState.ownerWindow);
}

TEST_F(CopyEntryTest, EqualTimesReplaceWithoutAsking)
{
    ASSERT_TRUE(WriteFileBytes(folder / "a.txt", "a"));
    ASSERT_TRUE(WriteFileBytes(folder / "b.txt", "b"));
    FILETIME stamp = LastWriteTime(folder / "a.txt");
    HANDLE file = CreateFileA((folder / "b.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);

    EXPECT_TRUE(ConfirmOverwrite((folder / "a.txt").c_str(), (folder / "b.txt").c_str(), report));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CopyEntryTest, TargetHeldOpenIsReportedAndKept)
{
    for (bool silent : {true, false}) {
        std::string target = folder / "dest\\held.txt";
        ASSERT_TRUE(WriteFileBytes(folder / "held.txt", "source"));
        ASSERT_TRUE(WriteFileBytes(target, "target"));
        SetFileTimeDaysAgo(target, 20);  // older: replaced without a question
        HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        boxes.boxes.clear();
        SetEntry("held.txt", target);

        CopyEntryFile(entry, silent ? ReplaceSilently : AskBeforeReplacingNewer, report);
        CloseHandle(held);

        ASSERT_EQ(boxes.boxes.size(), 1u) << "silent " << silent;
        EXPECT_EQ(boxes.boxes[0].text, target + " is in use so that overwriting cannot be executed.");
        EXPECT_EQ(boxes.boxes[0].style, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(ReadFileBytes(target), "target");
    }
}

TEST_F(CopyEntryTest, EntryTwoIsSkippedOnlyInTheReducedInstallation)
{
    ASSERT_TRUE(WriteFileBytes(folder / "02", "voice data"));
    std::string target = folder / "dest\\02";

    installState.reducedInstall = true;
    SetEntry("02", target);
    CopyEntryFile(entry, AskBeforeReplacingNewer, report);
    EXPECT_FALSE(FileExists(target));

    // A file an earlier installation left there still loses its read-only attribute.
    ASSERT_TRUE(WriteFileBytes(target, "old"));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    CopyEntryFile(entry, AskBeforeReplacingNewer, report);
    EXPECT_EQ(ReadFileBytes(target), "old");
    EXPECT_EQ(Restricting(target), 0u);
    DeleteFileA(target.c_str());

    installState.reducedInstall = false;
    CopyEntryFile(entry, AskBeforeReplacingNewer, report);
    EXPECT_EQ(ReadFileBytes(target), "voice data");

    // Only the exact text counts.
    installState.reducedInstall = true;
    ASSERT_TRUE(WriteFileBytes(folder / "020", "x"));
    SetEntry("020", folder / "dest\\020");
    CopyEntryFile(entry, AskBeforeReplacingNewer, report);
    EXPECT_TRUE(FileExists(folder / "dest\\020"));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST(FileStampTest, DateTwentyFourHourTimeAndName)
{
    SYSTEMTIME local = {};
    local.wYear = 2021;
    local.wMonth = 3;
    local.wDay = 4;
    local.wHour = 15;
    local.wMinute = 6;
    local.wSecond = 7;
    FILETIME localTime, utc;
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);

    char out[600];
    FormatFileStamp(out, sizeof out, "PUZZLE.EXE", utc);

    char date[200];
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, sizeof date);
    std::string text = out;
    EXPECT_EQ(text.substr(0, lstrlenA(date) + 1), std::string(date) + " ") << text;
    EXPECT_NE(text.find("15:06"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 12), "  PUZZLE.EXE") << text;
}

TEST(FileStampTest, TooSmallBufferIsLeftEmptyAndNotOverrun)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    char out[32];
    memset(out, 'X', sizeof out);
    FormatFileStamp(out, 12, "a-rather-long-file-name.txt", now);
    EXPECT_EQ(out[0], '\0');
    for (size_t i = 12; i < sizeof out; ++i)
        EXPECT_EQ(out[i], 'X') << "byte " << i;
}

// The whole sequence on a page made from template 105, driven by its own timer and posts.
class CopyPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        installState = InstallState{};
        testPackage = Package{};
        installState.instance = GetModuleHandleA(nullptr);
        GetCurrentDirectoryA(sizeof savedDirectory, savedDirectory);

        source = folder / "pkg\\";
        dest = folder / "dest\\App\\";
        ASSERT_TRUE(WriteFileBytes(source + "SETUP.EXE", "installer"));
        SetCurrentDirectoryA(source.c_str());
        lstrcpyA(testPackage.exeName, "SETUP.EXE");
        lstrcpyA(testPackage.infName, "SETUPE.INF");
        lstrcpyA(testPackage.infPath, (source + "SETUPE.INF").c_str());
        lstrcpyA(installState.installDir, dest.c_str());
        lstrcpyA(testPackage.installKey, key.c_str());
        lstrcpyA(testPackage.title, "Copy Page Test");
        lstrcpyA(installState.menuDir, (folder / "menu\\Puzzle").c_str());
        SetRegistryString(HKEY_CURRENT_USER, kShellFolders, "Desktop", folder / "desktop");
        SetRegistryString(HKEY_CURRENT_USER, kShellFolders, "Startup", folder / "startup");
    }
    void TearDown() override { SetCurrentDirectoryA(savedDirectory); }

    void WriteInf(const std::string& install, const std::string& group = "")
    {
        std::string text = "[Install]\r\nTitle=Copy Page Test\r\nFolder=App\r\n" + install;
        if (!group.empty())
            text += "[Group]\r\n" + group;
        ASSERT_TRUE(WriteFileBytes(source + "SETUPE.INF", text));
    }

    // Creates the page, makes it active and pumps until the sequence has ended.
    void RunSequence(CopyPageReport* pageReport = nullptr)
    {
        installState.sheetWindow = sheet.window;
        LPARAM data = reinterpret_cast<LPARAM>(pageReport != nullptr ? pageReport : &report);
        ASSERT_NE(sheet.CreatePage(IDD_COPY_PAGE, CopyPage, data), nullptr);
        EXPECT_EQ(installState.ownerWindow, sheet.page);
        sheet.Notify(PSN_SETACTIVE);
        ASSERT_TRUE(PumpUntil([] { return installState.installDone; }));
        // Anything still queued would be a step too many.
        PumpUntil([] { return false; }, 400);
    }

    HWND Control(int id) { return GetDlgItem(sheet.page, id); }
    std::string Text(int id)
    {
        char text[512] = "";
        GetDlgItemTextA(sheet.page, id, text, sizeof text);
        return text;
    }

    static constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    TempFolder folder{TestName().c_str()};
    CopyPageReport report{testPackage, nullptr, false};
    std::string key = "TinySetupTestCopyPage";
    std::string source, dest;
    char savedDirectory[MAX_PATH] = "";
    MessageBoxRecorder boxes{IDYES};
    RegistryValueGuard desktopGuard{HKEY_CURRENT_USER, kShellFolders, "Desktop"};
    RegistryValueGuard startupGuard{HKEY_CURRENT_USER, kShellFolders, "Startup"};
    ApplicationKeyGuard applicationKey;
    UninstallEntryGuard uninstallEntry{key};
    SheetRecorder sheet;
};

TEST_F(CopyPageTest, NoEntriesMakeFourStepsAndFinish)
{
    WriteInf("");
    testPackage.fileCount = 0;

    RunSequence();

    EXPECT_EQ(installState.stepIndex, 4);
    EXPECT_EQ(ReadFileBytes(dest + "SETUP.EXE"), "installer");
    EXPECT_TRUE(FileExists(dest + "SETUP.INF")) << "the installed setup file bears the program's name";
    EXPECT_EQ(SendMessageA(Control(IDC_PROGRESS), PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageA(Control(IDC_PROGRESS), PBM_GETRANGE, FALSE, 0), 3);
    EXPECT_EQ(SendMessageA(Control(IDC_PROGRESS), PBM_GETPOS, 0, 0), 3);
    EXPECT_FALSE(Shown(Control(IDC_PROGRESS)));
    EXPECT_EQ(Text(IDC_STATUS), ExpectedText(IDS_INSTALL_SUCCEEDED, MessageLanguage::English));
    EXPECT_TRUE(Shown(Control(IDC_UNINSTALL_HINT)));
    EXPECT_EQ(Text(IDC_UNINSTALL_HINT), "Use <Add/Remove Programs> in the Control Panel for the uninstallation.");
    EXPECT_TRUE(boxes.boxes.empty());

    // The sheet: Cancel became Close, every button off while copying, then Finish alone.
    EXPECT_EQ(sheet.Received(PSM_CANCELTOCLOSE).size(), 1u);
    auto buttons = sheet.Received(PSM_SETWIZBUTTONS);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].lParam, 0);
    EXPECT_EQ(buttons[1].lParam, PSWIZB_FINISH);

    // Registration of the installed copy.
    RegistryValue command = ReadRegistryValue(HKEY_LOCAL_MACHINE, uninstallEntry.path().c_str(), "UninstallString");
    EXPECT_EQ(command.text(), "\"" + dest + "SETUP.EXE\" /r");
    EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, "Software\\Tamberlyn\\tq", "ExecPath").text(), dest);

    // A stray command after the end does not run the last step again.
    SendMessageA(sheet.page, WM_COMMAND, 1, 0);
    EXPECT_EQ(installState.stepIndex, 4);
}

TEST_F(CopyPageTest, EveryEntryIsCopiedAndFailuresDoNotStopTheSequence)
{
    ASSERT_TRUE(WriteFileBytes(source + "readme.txt", "readme"));
    ASSERT_TRUE(WriteFileBytes(source + "data\\a.dat", "data"));
    WriteInf("1=readme.txt\r\n2=missing.txt\r\n3=data\\a.dat\r\n4=readme.txt,docs\\copy.txt\r\n");
    testPackage.fileCount = 4;

    RunSequence();

    EXPECT_EQ(installState.stepIndex, 8);
    EXPECT_EQ(ReadFileBytes(dest + "readme.txt"), "readme");
    EXPECT_EQ(ReadFileBytes(dest + "data\\a.dat"), "data");
    EXPECT_EQ(ReadFileBytes(dest + "docs\\copy.txt"), "readme");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, ExpectedText(IDS_COPY_FAILED, MessageLanguage::English, {"missing.txt"}));
    EXPECT_EQ(boxes.boxes[0].owner, sheet.page);
    EXPECT_EQ(SendMessageA(Control(IDC_PROGRESS), PBM_GETRANGE, FALSE, 0), 7);
}

// The steps run in slices of time; a failure shown in the middle of one holds the steps after
// it until it has been answered.
TEST_F(CopyPageTest, AFailureInTheMiddleOfASliceHoldsTheStepsAfterIt)
{
    ASSERT_TRUE(WriteFileBytes(source + "a.txt", "a"));
    WriteInf("1=a.txt\r\n2=missing.txt\r\n3=a.txt,c.txt\r\n");
    testPackage.fileCount = 3;
    struct Watch : EngineReport {
        void Step(int, int) override {}
        void ShareOfStep(int) override {}
        bool Ask(Question, const char*, const char*) override { return true; }
        void Failure(const char*, const char*) override { laterCopied = laterCopied || FileExists(next); }
        std::string next;
        bool laterCopied = false;
    } watch;
    watch.next = dest + "c.txt";
    CopyPageReport watched(testPackage, &watch, false);

    RunSequence(&watched);

    EXPECT_FALSE(watch.laterCopied);
    EXPECT_EQ(ReadFileBytes(dest + "c.txt"), "a");
    EXPECT_EQ(SendMessageA(Control(IDC_PROGRESS), PBM_GETPOS, 0, 0), 6);
}

// With more steps than the bar has pixels most steps move the position with drawing off; the
// position must still count every step.
TEST_F(CopyPageTest, ManySmallEntriesStillMoveTheBarByEveryStep)
{
    const int count = 700;
    std::string entries;
    for (int i = 1; i <= count; ++i) {
        std::string name = "f" + std::to_string(i) + ".dat";
        ASSERT_TRUE(WriteFileBytes(source + name, name));
        entries += std::to_string(i) + "=" + name + "\r\n";
    }
    WriteInf(entries);
    testPackage.fileCount = count;

    RunSequence();

    EXPECT_EQ(installState.stepIndex, count + 4);
    EXPECT_EQ(SendMessageA(Control(IDC_PROGRESS), PBM_GETPOS, 0, 0), count + 3);
    EXPECT_EQ(ReadFileBytes(dest + "f700.dat"), "f700.dat");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CopyPageTest, InstalledCopyIsReplacedWithoutAQuestion)
{
    WriteInf("");
    ASSERT_TRUE(WriteFileBytes(dest + "SETUP.EXE", "newer installed copy"));
    SetFileTimeDaysAgo(source + "SETUP.EXE", 30);
    ASSERT_TRUE(WriteFileBytes(dest + "SETUP.INF", "newer setup file"));
    SetFileTimeDaysAgo(source + "SETUPE.INF", 30);
    boxes.setAnswer(IDNO);

    RunSequence();

    EXPECT_EQ(ReadFileBytes(dest + "SETUP.EXE"), "installer");
    // The setup information file is asked about; No keeps it.
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind(dest + "SETUP.INF is already exists.", 0), 0u) << boxes.boxes[0].text;
    EXPECT_EQ(ReadFileBytes(dest + "SETUP.INF"), "newer setup file");
}

TEST_F(CopyPageTest, EntryWhoseDestinationDoesNotFitIsReportedAndSkipped)
{
    // installDir of 200 characters: an entry path of 70 more does not fit in 259.
    dest = folder / (std::string(190 - folder.path().size(), 'd') + "\\");
    lstrcpyA(installState.installDir, dest.c_str());
    std::string longName = std::string(70, 'n') + ".txt";
    ASSERT_TRUE(WriteFileBytes(source + "short.txt", "short"));
    WriteInf("1=short.txt," + longName + "\r\n2=short.txt\r\n");
    testPackage.fileCount = 2;

    RunSequence();

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, ExpectedText(IDS_COPY_FAILED, MessageLanguage::English, {"short.txt"}));
    EXPECT_EQ(boxes.boxes[0].style, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(ReadFileBytes(dest + "short.txt"), "short");
    // Nothing was written under a cut name.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dest + "n*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    EXPECT_TRUE(installState.installDone);
}

TEST_F(CopyPageTest, UninstallShortcutNamesTheFinalHint)
{
    ASSERT_TRUE(WriteFileBytes(source + "puzzle.exe", "game"));
    WriteInf("1=puzzle.exe\r\n", "1=Puzzle,puzzle.exe\r\n2=Uninstall Puzzle,SETUP.EXE,/r\r\n");
    testPackage.fileCount = 1;
    testPackage.groupCount = 2;
    installState.wantMenuShortcuts = true;
    ASSERT_TRUE(WriteFileBytes(folder / "desktop\\keep", ""));

    RunSequence();

    EXPECT_TRUE(FileExists(folder / "menu\\Puzzle\\Puzzle.lnk"));
    EXPECT_TRUE(FileExists(folder / "menu\\Puzzle\\Uninstall Puzzle.lnk"));
    EXPECT_FALSE(FileExists(folder / "desktop\\Copy Page Test.lnk"));
    EXPECT_EQ(Text(IDC_UNINSTALL_HINT), ExpectedText(IDS_UNINSTALL_HINT, MessageLanguage::English, {"Uninstall Puzzle"}));
}

// Version 1 made data\old.dat, the shortcut "Old Readme" and a key, which version 2, installed
// over it, no longer names: the uninstall that reads version 2's setup file removes them too.
TEST_F(CopyPageTest, TheUninstallAfterAnUpgradeRemovesWhatTheEarlierVersionMade)
{
    ASSERT_TRUE(WriteFileBytes(source + "puzzle.exe", "game"));
    ASSERT_TRUE(WriteFileBytes(source + "old.dat", "old"));
    installState.wantMenuShortcuts = true;
    auto install = [&](const std::string& entries, const std::string& group, int files) {
        WriteInf(entries, group);
        testPackage.fileCount = files;
        testPackage.groupCount = 1;
        for (int step = 0; step < InstallStepCount(files); ++step)
            RunInstallStep(testPackage, step, Boxes());
    };
    const char* oldKey = "Software\\TinySetupTestV1";
    install("1=puzzle.exe\r\n2=old.dat,data\\old.dat\r\n[Reg]\r\n1=HKEY_CURRENT_USER\\" + std::string(oldKey) + "\r\n",
            "1=Old Readme,data\\old.dat\r\n", 2);
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, oldKey, "level", "3"));
    install("1=puzzle.exe\r\n", "1=Puzzle,puzzle.exe\r\n", 1);
    ASSERT_TRUE(FileExists(dest + "data\\old.dat"));
    ASSERT_TRUE(FileExists(folder / "menu\\Puzzle\\Old Readme.lnk"));

    lstrcpyA(testPackage.infPath, (dest + "SETUP.INF").c_str());
    EXPECT_TRUE(RemoveInstalledFiles(testPackage, Boxes()));
    EXPECT_TRUE(boxes.boxes.empty()) << (boxes.boxes.empty() ? "" : boxes.boxes[0].text);
    EXPECT_FALSE(FolderExists(dest));
    EXPECT_FALSE(FolderExists(folder / "menu\\Puzzle"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, oldKey));
    DeleteRegistryTree(HKEY_CURRENT_USER, oldKey);
}

TEST_F(CopyPageTest, ResidentProgramGetsTheStartupShortcutOnly)
{
    ASSERT_TRUE(WriteFileBytes(source + "tsr.exe", "resident"));
    WriteInf("1=tsr.exe\r\nTSR=1\r\n");
    testPackage.fileCount = 1;
    testPackage.residentProgram = true;
    installState.wantMenuShortcuts = true;
    installState.wantDesktopShortcut = true;
    for (const char* place : {"startup", "desktop", "menu\\Puzzle"})
        ASSERT_TRUE(WriteFileBytes(folder / (std::string(place) + "\\keep"), ""));

    RunSequence();

    EXPECT_TRUE(FileExists(folder / "startup\\Copy Page Test.lnk"));
    EXPECT_FALSE(FileExists(folder / "menu\\Puzzle\\Copy Page Test.lnk"));
    EXPECT_FALSE(FileExists(folder / "desktop\\Copy Page Test.lnk"));
}

TEST_F(CopyPageTest, FinishMakesTheDestinationCurrentAndReadsOpen)
{
    WriteInf("Open=readme.txt\r\n");
    RunSequence();

    LONG_PTR stored = 0;
    EXPECT_EQ(sheet.Notify(PSN_WIZFINISH, &stored), 0);
    EXPECT_EQ(stored, 0);
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(std::string(current) + "\\", dest);
    // Not installed: the text as written.
    EXPECT_STREQ(installState.openAfterInstall, "readme.txt");

    // Installed: the installed copy by its full name, so that the shell does not find the
    // package's copy beside the installer first.
    ASSERT_TRUE(WriteFileBytes(dest + "readme.txt", "installed"));
    sheet.Notify(PSN_WIZFINISH);
    EXPECT_EQ(std::string(installState.openAfterInstall), dest + "readme.txt");

    // A value too long for a path is not opened cut.
    WriteInf("Open=" + std::string(300, 'o') + ".txt\r\n");
    sheet.Notify(PSN_WIZFINISH);
    EXPECT_STREQ(installState.openAfterInstall, "");
}

}  // namespace
