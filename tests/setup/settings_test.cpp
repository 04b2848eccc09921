// The settings loader against real setup information files and the test prefix's registry:
// destination and program-menu folders, entry counts, flags, refusals and the registration
// check with its reuse of a previous installation.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "setup/settings.h"
#include "setup_fixture.h"
#include "support/expected_messages.h"

namespace {

const std::string kNoInformation = ExpectedText(1, MessageLanguage::English);
const char kTitle[] = "TinySetupTest Puzzle";
const char kOwnKey[] = "TinySetupTestPuzzle";
const char kOtherKey[] = "TinySetupTestOther";

std::string EntryInUse(const std::string& name)
{
    return ExpectedText(2, MessageLanguage::English, {name});
}

// Stores bytes exactly as given, so that a string can lack its terminator.
bool SetRegistryBytes(HKEY root, const char* subKey, const char* name, DWORD type, const std::string& bytes)
{
    HKEY key;
    if (RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

class SettingsTest : public SetupDataTest {
protected:
    SettingsTest() : SetupDataTest("setup-settings")
    {
        RemoveEntries();
        SetProgramFilesDir("D:\\Program Files");
        DeleteRegistryValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "SM_AccessoriesName");
    }
    ~SettingsTest() override { RemoveEntries(); }

    void RemoveEntries()
    {
        for (const char* key : {kOwnKey, kOtherKey})
            DeleteRegistryTree(HKEY_LOCAL_MACHINE, UninstallEntryPath(key).c_str());
    }

    void SetProgramFilesDir(const char* dir)
    {
        if (dir == nullptr)
            ASSERT_TRUE(DeleteRegistryValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir"));
        else
            ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir", dir));
    }

    // A setup file with the given [Install] lines and an optional [Group] section.
    void WriteInstallSection(const std::string& lines, const std::string& groups = "")
    {
        std::string text = "[Install]\r\n" + lines;
        if (!groups.empty())
            text += "[Group]\r\n" + groups;
        WriteSetupFile(text);
    }

    void WriteEntry(const char* key, const char* name, const std::string& value)
    {
        ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, UninstallEntryPath(key).c_str(), name, value));
    }

    void ExpectOneBox(const std::string& text)
    {
        ASSERT_EQ(1u, boxes_.boxes.size());
        const RecordedBox& box = boxes_.boxes[0];
        EXPECT_EQ(text, box.text);
        EXPECT_EQ(nullptr, box.owner);
        EXPECT_FALSE(box.hasCaption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), box.style);
    }

    RegistryValueGuard programFiles_{HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir"};
    RegistryValueGuard accessories_{HKEY_LOCAL_MACHINE, kCurrentVersionKey, "SM_AccessoriesName"};
    MessageBoxRecorder boxes_;
    const std::string programs_ = ShellFolder("Programs");
    const std::string startMenu_ = ShellFolder("Start Menu");
};

struct FolderRow {
    const char* folder;
    const char* installKey;    // nullptr: no "InstallKey" line
    const char* programFiles;  // nullptr: no "ProgramFilesDir" value
    const char* installDir;
    const char* expectedKey;
};

TEST_F(SettingsTest, DestinationFolderAndUninstallKeyName)
{
    const FolderRow rows[] = {
        {"\\Games\\Puzzle", nullptr, "D:\\Program Files", "D:\\Games\\Puzzle\\", "Puzzle"},
        {"/Games/Puzzle", nullptr, "D:\\Program Files", "D:\\Games\\Puzzle\\", "Puzzle"},
        {"Puzzle", nullptr, "D:\\Program Files", "D:\\Program Files\\Puzzle\\", "Puzzle"},
        {"Acme/Puzzle", nullptr, "D:\\Program Files\\", "D:\\Program Files\\Acme\\Puzzle\\", "Puzzle"},
        {"Puzzle", nullptr, nullptr, "C:\\Program Files\\Puzzle\\", "Puzzle"},
        {"\\Games\\Puzzle", nullptr, nullptr, "C:\\Games\\Puzzle\\", "Puzzle"},
        // A folder value ending with separators still names its last folder as the key.
        {"Acme\\Puzzle\\", nullptr, "D:\\Program Files", "D:\\Program Files\\Acme\\Puzzle\\", "Puzzle"},
        {"\\Acme/Puzzle/", nullptr, "D:\\Program Files", "D:\\Acme\\Puzzle\\", "Puzzle"},
        {"Puzzle", "Acme/Puzzle", "D:\\Program Files", "D:\\Program Files\\Puzzle\\", "Acme_Puzzle"},
        {"Puzzle", "Acme\\Puzzle\\2", "D:\\Program Files", "D:\\Program Files\\Puzzle\\", "Acme_Puzzle_2"},
        {"\\", kOwnKey, "D:\\Program Files", "D:\\", kOwnKey},
    };
    for (const FolderRow& row : rows) {
        SCOPED_TRACE(row.folder);
        SetProgramFilesDir(row.programFiles);
        std::string lines = std::string("Title=") + kTitle + "\r\nFolder=" + row.folder + "\r\n";
        if (row.installKey != nullptr)
            lines += std::string("InstallKey=") + row.installKey + "\r\n";
        WriteInstallSection(lines);
        EXPECT_TRUE(LoadSetupInformation(testPackage, Boxes()));
        EXPECT_STREQ(row.installDir, installState.installDir);
        EXPECT_STREQ(row.expectedKey, testPackage.installKey);
    }
    EXPECT_TRUE(boxes_.boxes.empty());
}

struct MenuRow {
    const char* menu;
    const char* groups;
    const char* accessories;  // nullptr: no "SM_AccessoriesName" value
    std::string expected;     // <P> the Programs folder, <S> the Start Menu folder
};

TEST_F(SettingsTest, ProgramMenuFolderRules)
{
    const std::string name49(49, 'n');
    const std::string name50(50, 'n');
    const MenuRow rows[] = {
        {"\\Acme\\Puzzle", "", nullptr, "<S>\\Acme\\Puzzle"},
        {"/Acme", "", nullptr, "<S>\\Acme"},
        {"a!Games", "", nullptr, "<P>\\Accessories\\Games"},
        {"a!Games", "", "Zubehoer", "<P>\\Zubehoer\\Games"},
        {"a!/Games", "", nullptr, "<P>\\Accessories\\Games"},
        // 49 characters and the terminator fill the 50-byte name exactly; one more does not fit.
        {"a!Games", "", name49.c_str(), "<P>\\" + name49 + "\\Games"},
        {"a!Games", "", name50.c_str(), "<P>\\Accessories\\Games"},
        {"A!Games", "", nullptr, "<P>\\A!Games"},
        {"Acme/Puzzle", "", nullptr, "<P>\\Acme\\Puzzle"},
        {"", "1=Puzzle,PUZZLE.EXE\r\n2=Readme,README.TXT\r\n", nullptr, std::string("<P>\\") + kTitle},
        {"", "", nullptr, "<P>"},
    };
    for (const MenuRow& row : rows) {
        SCOPED_TRACE(std::string(row.menu) + " / " + (row.accessories ? row.accessories : "(none)"));
        if (row.accessories != nullptr)
            ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "SM_AccessoriesName", row.accessories));
        else
            DeleteRegistryValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "SM_AccessoriesName");
        WriteInstallSection(std::string("Title=") + kTitle + "\r\nFolder=Puzzle\r\nInstallKey=" + kOwnKey +
                                "\r\nMenu=" + row.menu + "\r\n",
                            row.groups);
        EXPECT_TRUE(LoadSetupInformation(testPackage, Boxes()));
        std::string expected = row.expected;
        if (expected.compare(0, 3, "<P>") == 0)
            expected.replace(0, 3, programs_);
        if (expected.compare(0, 3, "<S>") == 0)
            expected.replace(0, 3, startMenu_);
        EXPECT_EQ(expected, installState.menuDir);
    }
}

TEST_F(SettingsTest, AccessoriesNameStoredWithoutTerminator)
{
    ASSERT_TRUE(SetRegistryBytes(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "SM_AccessoriesName", REG_SZ, "Zubehoer"));
    WriteInstallSection(std::string("Title=") + kTitle + "\r\nFolder=Puzzle\r\nMenu=a!Games\r\n");
    EXPECT_TRUE(LoadSetupInformation(testPackage, Boxes()));
    EXPECT_EQ(programs_ + "\\Zubehoer\\Games", installState.menuDir);
}

TEST_F(SettingsTest, CountsStopAtTheFirstEmptyKey)
{
    WriteInstallSection(std::string("Title=") + kTitle + "\r\nFolder=Puzzle\r\nShortcut=PUZZLE.EXE?0\r\n" +
                            "1=a.txt\r\n2=b.txt\r\n4=d.txt\r\n",
                        "1=Puzzle,PUZZLE.EXE\r\n2=\r\n3=Readme,README.TXT\r\n");
    EXPECT_TRUE(LoadSetupInformation(testPackage, Boxes()));
    EXPECT_EQ(2, testPackage.fileCount);
    EXPECT_EQ(1, testPackage.groupCount);
    EXPECT_STREQ(kTitle, testPackage.title);
    EXPECT_STREQ("PUZZLE.EXE?0", testPackage.shortcutTarget);

    WriteInstallSection(std::string("Title=") + kTitle + "\r\nFolder=Puzzle\r\n2=b.txt\r\n");
    EXPECT_TRUE(LoadSetupInformation(testPackage, Boxes()));
    EXPECT_EQ(0, testPackage.fileCount);
    EXPECT_EQ(0, testPackage.groupCount);
}

struct FlagRow {
    const char* lines;
    bool resident;
    bool keepForeign;
};

TEST_F(SettingsTest, OnlyTheValueOneSetsAFlag)
{
    const FlagRow rows[] = {
        {"", false, false},
        {"TSR=1\r\nRemoveNone=1\r\n", true, true},
        {"TSR=2\r\nRemoveNone=2\r\n", false, false},
        {"TSR=0\r\nRemoveNone=yes\r\n", false, false},
        {"TSR=1 resident\r\n", true, false},
    };
    for (const FlagRow& row : rows) {
        SCOPED_TRACE(row.lines);
        WriteInstallSection(std::string("Title=") + kTitle + "\r\nFolder=Puzzle\r\n" + row.lines);
        EXPECT_TRUE(LoadSetupInformation(testPackage, Boxes()));
        EXPECT_EQ(row.resident, testPackage.residentProgram);
        EXPECT_EQ(row.keepForeign, testPackage.keepForeignFiles);
    }
}

TEST_F(SettingsTest, UnusableFilesAreRefusedWithMessageOne)
{
    const std::string fits241(241, 'f');
    // Uninstall key path "Software\...\Uninstall\" is 52 characters.
    const std::string key207(207, 'k');
    const struct {
        const char* what;
        std::string lines;
        bool accepted;
    } rows[] = {
        {"no title", "Folder=Puzzle\r\n", false},
        {"no folder", std::string("Title=") + kTitle + "\r\n", false},
        {"empty values", "Title=\r\nFolder=\"\"\r\n", false},
        {"folder of separators only", std::string("Title=") + kTitle + "\r\nFolder=\\/\\\r\n", false},
        {"drive root only", std::string("Title=") + kTitle + "\r\nFolder=C:\\\r\n", false},
        // "D:\Program Files\" + 241 + "\" is 259 characters; one more does not fit.
        {"destination of 259", std::string("Title=") + kTitle + "\r\nInstallKey=P\r\nFolder=" + fits241 + "\r\n", true},
        {"destination of 260", std::string("Title=") + kTitle + "\r\nInstallKey=P\r\nFolder=" + fits241 + "f\r\n", false},
        {"uninstall key path of 259", std::string("Title=") + kTitle + "\r\nFolder=P\r\nInstallKey=" + key207 + "\r\n", true},
        {"uninstall key path of 260", std::string("Title=") + kTitle + "\r\nFolder=P\r\nInstallKey=" + key207 + "k\r\n", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        boxes_.boxes.clear();
        WriteInstallSection(row.lines);
        EXPECT_EQ(row.accepted, LoadSetupInformation(testPackage, Boxes()));
        if (row.accepted)
            EXPECT_TRUE(boxes_.boxes.empty());
        else
            ExpectOneBox(kNoInformation);
    }
}

TEST_F(SettingsTest, ProgramMenuFolderThatDoesNotFitIsRefused)
{
    // Programs folder + "\" + menu value: 259 characters fit, 260 and 261 do not.
    for (size_t length : {259u, 260u, 261u}) {
        SCOPED_TRACE(length);
        boxes_.boxes.clear();
        std::string menu(length - programs_.size() - 1, 'm');
        WriteInstallSection(std::string("Title=") + kTitle + "\r\nFolder=Puzzle\r\nMenu=" + menu + "\r\n");
        bool fits = length == 259;
        EXPECT_EQ(fits, LoadSetupInformation(testPackage, Boxes()));
        if (fits)
            EXPECT_EQ(programs_ + "\\" + menu, installState.menuDir);
        else
            ExpectOneBox(kNoInformation);
    }
}

TEST_F(SettingsTest, MissingOrUnnamedFileIsRefusedWithMessageOne)
{
    CopyText(testPackage.infPath, (folder_ / "ABSENT.INF").c_str());
    EXPECT_FALSE(LoadSetupInformation(testPackage, Boxes()));
    ExpectOneBox(kNoInformation);

    boxes_.boxes.clear();
    testPackage.infPath[0] = '\0';
    EXPECT_FALSE(LoadSetupInformation(testPackage, Boxes()));
    ExpectOneBox(kNoInformation);
}

TEST_F(SettingsTest, OwnKeyWithAnotherDisplayNameIsRefused)
{
    for (const char* registered : {"Someone Else", "tinysetuptest puzzle"}) {
        SCOPED_TRACE(registered);
        boxes_.boxes.clear();
        WriteEntry(kOwnKey, "DisplayName", registered);
        WriteInstallSection(std::string("Title=") + kTitle + "\r\nFolder=Puzzle\r\nInstallKey=" + kOwnKey + "\r\n");
        EXPECT_FALSE(LoadSetupInformation(testPackage, Boxes()));
        ExpectOneBox(EntryInUse(registered));
    }
}

TEST_F(SettingsTest, AnotherKeyWithTheSameDisplayNameIsRefused)
{
    WriteEntry(kOtherKey, "DisplayName", kTitle);
    WriteInstallSection(std::string("Title=") + kTitle + "\r\nFolder=Puzzle\r\nInstallKey=" + kOwnKey + "\r\n");
    EXPECT_FALSE(LoadSetupInformation(testPackage, Boxes()));
    ExpectOneBox(EntryInUse(kTitle));

    // The comparison is exact: a name that differs only in case is another application.
    boxes_.boxes.clear();
    WriteEntry(kOtherKey, "DisplayName", "TINYSETUPTEST PUZZLE");
    EXPECT_TRUE(LoadSetupInformation(testPackage, Boxes()));
    EXPECT_TRUE(boxes_.boxes.empty());
}

struct ReuseRow {
    std::string uninstallString;
    std::string installDir;
};

TEST_F(SettingsTest, ReinstallReusesTheRegisteredFolders)
{
    const std::string longFolder = "C:\\" + std::string(259 - strlen("\"C:\\\\SETUP.EXE\""), 'a') + "\\";
    const ReuseRow rows[] = {
        {"\"C:\\Apps\\My Puzzle\\SETUP.EXE\" /r", "C:\\Apps\\My Puzzle\\"},
        {"\"C:\\Apps\\My Puzzle\\SETUP.EXE\"", "C:\\Apps\\My Puzzle\\"},
        {"C:\\Apps\\Puzzle\\SETUP.EXE /r", "C:\\Apps\\Puzzle\\"},
        {"C:\\Apps\\Puzzle\\SETUP.EXE", "C:\\Apps\\Puzzle\\"},
        {"  \"C:/Apps/Puzzle/SETUP.EXE\" /r", "C:/Apps/Puzzle/"},
        // 259 characters fill the read buffer exactly.
        {"\"" + longFolder + "SETUP.EXE\"", longFolder},
        // A command without a folder keeps the default.
        {"SETUP.EXE /r", "D:\\Program Files\\Puzzle\\"},
    };
    for (const ReuseRow& row : rows) {
        SCOPED_TRACE(row.uninstallString);
        RemoveEntries();
        WriteEntry(kOwnKey, "DisplayName", kTitle);
        WriteEntry(kOwnKey, "UninstallString", row.uninstallString);
        WriteInstallSection(std::string("Title=") + kTitle + "\r\nFolder=Puzzle\r\nInstallKey=" + kOwnKey + "\r\n");
        EXPECT_TRUE(LoadSetupInformation(testPackage, Boxes()));
        EXPECT_EQ(row.installDir, installState.installDir);
        EXPECT_EQ(programs_, installState.menuDir);
    }
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(SettingsTest, ReinstallReusesTheRegisteredMenuFolder)
{
    WriteEntry(kOwnKey, "DisplayName", kTitle);
    WriteEntry(kOwnKey, "UninstallString", "\"C:\\Apps\\Puzzle\\SETUP.EXE\" /r");
    WriteEntry(kOwnKey, "MenuDir", "C:\\Menu\\Acme Puzzle");
    WriteInstallSection(std::string("Title=") + kTitle + "\r\nFolder=Puzzle\r\nInstallKey=" + kOwnKey +
                        "\r\nMenu=Other\r\n");
    EXPECT_TRUE(LoadSetupInformation(testPackage, Boxes()));
    EXPECT_STREQ("C:\\Menu\\Acme Puzzle", installState.menuDir);
    EXPECT_STREQ("C:\\Apps\\Puzzle\\", installState.installDir);

    // Stored without its terminator: read back whole and terminated.
    ASSERT_TRUE(SetRegistryBytes(HKEY_LOCAL_MACHINE, UninstallEntryPath(kOwnKey).c_str(), "MenuDir", REG_SZ,
                                 "C:\\Menu\\Bare"));
    EXPECT_TRUE(LoadSetupInformation(testPackage, Boxes()));
    EXPECT_STREQ("C:\\Menu\\Bare", installState.menuDir);

    // Not a string value: the computed folder stays.
    ASSERT_TRUE(SetRegistryBytes(HKEY_LOCAL_MACHINE, UninstallEntryPath(kOwnKey).c_str(), "MenuDir", REG_EXPAND_SZ,
                                 std::string("C:\\Menu\\Expand", 15)));
    EXPECT_TRUE(LoadSetupInformation(testPackage, Boxes()));
    EXPECT_EQ(programs_ + "\\Other", installState.menuDir);
}

}  // namespace
