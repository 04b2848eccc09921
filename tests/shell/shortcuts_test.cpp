// Shortcut manager: the .lnk files made and removed in each place, read back from outside with
// lnkinfo and with the shell's own link object.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/path.h"
#include "base/registry_key.h"
#include "link_reader.h"
#include "setup/install_state.h"
#include "shell/shortcuts.h"
#include "support/test_support.h"

namespace {

const char kDllOverridesKey[] = "Software\\Wine\\DllOverrides";

bool MakeFolder(const std::string& path)
{
    std::string folder = path;
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    return FolderExists(folder);
}

// Every file name in a folder (sub folders left out).
std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += "[" + name + "]";
    return text;
}

void ExpectFields(const LinkFields& actual, const LinkFields& expected, const char* reader)
{
    SCOPED_TRACE(reader);
    ASSERT_TRUE(actual.read) << "the link could not be read";
    EXPECT_EQ(expected.path, actual.path) << Describe(actual);
    EXPECT_EQ(expected.arguments, actual.arguments) << Describe(actual);
    EXPECT_EQ(expected.workingFolder, actual.workingFolder) << Describe(actual);
    EXPECT_EQ(expected.iconFile, actual.iconFile) << Describe(actual);
    EXPECT_EQ(expected.iconIndex, actual.iconIndex) << Describe(actual);
    EXPECT_EQ(expected.description, actual.description) << Describe(actual);
}

class ShortcutTest : public ::testing::Test {
protected:
    TempFolder temp{"shell-shortcuts"};
    // Wine's shell hands every link saved on the desktop or in the start menu to
    // winemenubuilder, which writes menu entries on the Linux side; the tests keep it off.
    RegistryValueGuard menuBuilderGuard{HKEY_CURRENT_USER, kDllOverridesKey, "winemenubuilder.exe"};
    std::string installDir;
    std::string menuDir;
    char savedFolder[MAX_PATH] = {};

    void SetUp() override
    {
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kDllOverridesKey, "winemenubuilder.exe", ""));
        installState = InstallState{};
        testPackage = Package{};
        installDir = temp / "Apps\\Puzzle\\";
        menuDir = temp / "Programs\\Acme\\Puzzle";
        ASSERT_TRUE(WriteFileBytes(installDir + "PUZZLE.EXE", "MZ"));
        CopyText(installState.installDir, installDir.c_str());
        CopyText(installState.menuDir, menuDir.c_str());
        CopyText(testPackage.exeName, "SETUP.EXE");
        CopyText(testPackage.title, "Puzzle");
        CopyText(testPackage.infPath, (temp / "SETUP.INF").c_str());
        // A shortcut path that lost its folder would land relative to the current folder:
        // keep that inside the test's own folder, never on Z:.
        GetCurrentDirectoryA(sizeof savedFolder, savedFolder);
        SetCurrentDirectoryA(temp.path().c_str());
    }

    void TearDown() override { SetCurrentDirectoryA(savedFolder); }

    void WriteInf(const std::vector<std::string>& groups, const std::vector<std::string>& files = {})
    {
        std::string text = "[Install]\r\nTitle=Puzzle\r\nFolder=Puzzle\r\n";
        for (size_t i = 0; i < files.size(); ++i)
            text += std::to_string(i + 1) + "=" + files[i] + "\r\n";
        text += "[Group]\r\n";
        for (size_t i = 0; i < groups.size(); ++i)
            text += std::to_string(i + 1) + "=" + groups[i] + "\r\n";
        ASSERT_TRUE(WriteFileBytes(testPackage.infPath, text));
        testPackage.groupCount = static_cast<int>(groups.size());
        testPackage.fileCount = static_cast<int>(files.size());
    }

    // Reads the link with both readers and compares every field.
    void ExpectLink(const std::string& file, const LinkFields& expected)
    {
        SCOPED_TRACE(file);
        ASSERT_TRUE(FileExists(file)) << "no shortcut file";
        ExpectFields(ReadLinkWithLnkinfo(file, temp.path()), expected, "lnkinfo");
        ExpectFields(ReadLinkWithShell(file), expected, "shell link");
    }

    LinkFields Plain(const std::string& name, const std::string& target) const
    {
        LinkFields fields;
        fields.read = true;
        fields.path = installDir + target;
        fields.workingFolder = installDir;
        fields.description = name;
        return fields;
    }
};

TEST_F(ShortcutTest, GroupEntriesMakeTheirShortcutsAndNameTheUninstallShortcut)
{
    WriteInf({"Puzzle,PUZZLE.EXE", "Uninstall Puzzle,SETUP.EXE,/r"});
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());

    EXPECT_EQ(Joined({"Puzzle.lnk", "Uninstall Puzzle.lnk"}), Joined(FilesIn(menuDir + "\\")));
    ExpectLink(menuDir + "\\Puzzle.lnk", Plain("Puzzle", "PUZZLE.EXE"));
    LinkFields uninstall = Plain("Uninstall Puzzle", "SETUP.EXE");
    uninstall.arguments = "/r";
    ExpectLink(menuDir + "\\Uninstall Puzzle.lnk", uninstall);
    EXPECT_STREQ("Uninstall Puzzle", installState.uninstallShortcutName);
}

struct TargetRow {
    const char* spec;
    std::vector<const char*> folders;  // made inside the destination folder first
    const char* path;                  // relative to the destination folder
    const char* arguments;
    const char* iconFile;              // "@" + name: relative to the destination; "#" + name: Windows folder
    int iconIndex;
    const char* workingFolder;         // relative to the destination; "=" + text: as written
};

std::string Resolve(const std::string& installDir, const char* text)
{
    if (text[0] == '@')
        return installDir + (text + 1);
    if (text[0] == '#') {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof windows);
        return std::string(windows) + "\\" + (text + 1);
    }
    if (text[0] == '=')
        return text + 1;
    return installDir + text;
}

TEST_F(ShortcutTest, TargetSpecificationsGiveTheirProperties)
{
    const std::vector<TargetRow> rows = {
        {"PUZZLE.EXE?1=icons\\puzzle.ico?data", {"data"}, "PUZZLE.EXE", "", "@icons\\puzzle.ico", 1, "data"},
        {"PUZZLE.EXE?1=icons\\puzzle.ico?data", {}, "PUZZLE.EXE", "", "@icons\\puzzle.ico", 1, ""},
        {"PUZZLE.EXE?0", {}, "PUZZLE.EXE", "", "@PUZZLE.EXE", 0, ""},
        {"PUZZLE.EXE?0=w!puzzle.ico", {}, "PUZZLE.EXE", "", "#puzzle.ico", 0, ""},
        {"PUZZLE.EXE?1?data=x", {"data=x"}, "PUZZLE.EXE", "", "@PUZZLE.EXE", 1, "data=x"},
        {"PUZZLE.EXE?1?data=x", {}, "PUZZLE.EXE", "", "@PUZZLE.EXE", 1, ""},
        {"PUZZLE.EXE?2004", {"2004"}, "PUZZLE.EXE", "", "@PUZZLE.EXE", 2004, ""},
        {"PUZZLE.EXE ? 3 = icons\\a.ico , /debug  x ", {}, "PUZZLE.EXE", "/debug  x", "@icons\\a.ico", 3, ""},
        {"PUZZLE.EXE?1=a.ico?data?2?other", {"data", "other"}, "PUZZLE.EXE", "", "@PUZZLE.EXE", 2, "other"},
        {"PUZZLE.EXE?2?1=b.ico", {}, "PUZZLE.EXE", "", "@b.ico", 1, ""},
        {"PUZZLE.EXE?data\\..\\data\\,-x", {"data"}, "PUZZLE.EXE", "-x", "", 0, "data"},
        {"PUZZLE.EXE?1=C:\\Icons\\p.ico", {}, "PUZZLE.EXE", "", "=C:\\Icons\\p.ico", 1, ""},
        {"PUZZLE.EXE?1=", {}, "PUZZLE.EXE", "", "@PUZZLE.EXE", 1, ""},
        {"PUZZLE.EXE  ?0  ,  ", {}, "PUZZLE.EXE", "", "@PUZZLE.EXE", 0, ""},
        {"PUZZLE.EXE?99999999999", {}, "PUZZLE.EXE", "", "@PUZZLE.EXE", 2147483647, ""},
    };
    for (const TargetRow& row : rows) {
        SCOPED_TRACE(row.spec);
        for (const char* folder : row.folders)
            ASSERT_TRUE(MakeFolder(installDir + folder));
        WriteInf({std::string("Row,") + row.spec});
        UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());

        LinkFields expected;
        expected.read = true;
        expected.path = installDir + row.path;
        expected.arguments = row.arguments;
        if (row.iconFile[0] != '\0') {
            expected.iconFile = Resolve(installDir, row.iconFile);
            expected.iconIndex = row.iconIndex;
        }
        expected.workingFolder = row.workingFolder[0] ? Resolve(installDir, row.workingFolder) : installDir;
        expected.description = "Row";
        ExpectLink(menuDir + "\\Row.lnk", expected);

        DeleteFileA((menuDir + "\\Row.lnk").c_str());
        for (const char* folder : row.folders)
            RemoveDirectoryA((installDir + folder).c_str());
    }
}

TEST_F(ShortcutTest, EmptyOptionAndRootedWorkingFolder)
{
    // The empty option is the destination folder itself, normalised without its separator.
    WriteInf({"Empty,PUZZLE.EXE?", "Rooted,PUZZLE.EXE?" + temp.path() + "Data", "Missing,PUZZLE.EXE?" +
              temp.path() + "NoData"});
    ASSERT_TRUE(MakeFolder(temp / "Data"));
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());

    LinkFields empty = Plain("Empty", "PUZZLE.EXE");
    empty.workingFolder = installDir.substr(0, installDir.size() - 1);
    ExpectLink(menuDir + "\\Empty.lnk", empty);
    LinkFields rooted = Plain("Rooted", "PUZZLE.EXE");
    rooted.workingFolder = temp / "Data";
    ExpectLink(menuDir + "\\Rooted.lnk", rooted);
    ExpectLink(menuDir + "\\Missing.lnk", Plain("Missing", "PUZZLE.EXE"));
}

TEST_F(ShortcutTest, OnlyTheInstalledProgramWithSlashRIsTheUninstallShortcut)
{
    struct Row {
        const char* entry;
        bool qualifies;
    };
    const std::vector<Row> rows = {
        {"U,SETUP.EXE,/r", true},
        {"U,setup.exe , /r", true},
        {"U,SETUP.EXE,/R", false},
        {"U,SETUP.EXE", false},
        {"U,SETUP.EXE,", false},
        {"U,SETUP.EXE,/r x", false},
        {"U,sub\\SETUP.EXE,/r", false},
        {"U,SETUP.EXE?0,/r", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        installState.uninstallShortcutName[0] = '\0';
        WriteInf({row.entry});
        UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
        EXPECT_TRUE(FileExists(menuDir + "\\U.lnk"));
        EXPECT_STREQ(row.qualifies ? "U" : "", installState.uninstallShortcutName);
        DeleteFileA((menuDir + "\\U.lnk").c_str());
    }

    // When several qualify, the last one made counts.
    installState.uninstallShortcutName[0] = '\0';
    WriteInf({"First,SETUP.EXE,/r", "Puzzle,PUZZLE.EXE", "Second,SETUP.EXE,/r"});
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    EXPECT_STREQ("Second", installState.uninstallShortcutName);
}

TEST_F(ShortcutTest, SingleShortcutTakesShortcutOrFileEntryOneOrTheFolder)
{
    ASSERT_TRUE(MakeFolder(menuDir));
    std::string file = menuDir + "\\Puzzle.lnk";

    CopyText(testPackage.shortcutTarget, "PUZZLE.EXE?0,/x");
    WriteInf({}, {"puzzle.exe"});
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    LinkFields fromShortcut = Plain("Puzzle", "PUZZLE.EXE");
    fromShortcut.arguments = "/x";
    fromShortcut.iconFile = installDir + "PUZZLE.EXE";
    ExpectLink(file, fromShortcut);
    ASSERT_TRUE(DeleteFileA(file.c_str()));

    testPackage.shortcutTarget[0] = '\0';
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    ExpectLink(file, Plain("Puzzle", "puzzle.exe"));
    ASSERT_TRUE(DeleteFileA(file.c_str()));

    WriteInf({}, {});
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    ExpectLink(file, Plain("Puzzle", ""));
    EXPECT_EQ(Joined({"Puzzle.lnk"}), Joined(FilesIn(menuDir + "\\")));
}

TEST_F(ShortcutTest, SingleShortcutDoesNotMakeTheMenuFolder)
{
    WriteInf({}, {"puzzle.exe"});
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    EXPECT_FALSE(FolderExists(menuDir));
}

TEST_F(ShortcutTest, EntriesWithoutNameOrCommaMakeNothing)
{
    WriteInf({"Read me", ",PUZZLE.EXE", "Puzzle,PUZZLE.EXE"});
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    EXPECT_EQ(Joined({"Puzzle.lnk"}), Joined(FilesIn(menuDir + "\\")));
    EXPECT_FALSE(FileExists(temp / "Programs\\Acme\\Puzzle.lnk"));
}

TEST_F(ShortcutTest, TooLongShortcutPathOrTargetMakesNothing)
{
    // The folder is 240 characters; the shortcut name below would take the file past 259.
    std::string longMenu = temp.path() + std::string(240 - temp.path().size(), 'm');
    ASSERT_EQ(240u, longMenu.size());
    ASSERT_TRUE(MakeFolder(longMenu));
    CopyText(installState.menuDir, longMenu.c_str());
    WriteInf({"Uninstall with a rather long name,SETUP.EXE,/r", "P,PUZZLE.EXE"});
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    EXPECT_EQ(Joined({"P.lnk"}), Joined(FilesIn(longMenu + "\\")));
    EXPECT_STREQ("", installState.uninstallShortcutName);

    // A target that does not fit behind the destination folder is refused, not cut.
    CopyText(installState.menuDir, menuDir.c_str());
    WriteInf({"Long," + std::string(250, 'x') + ".EXE", "Short,PUZZLE.EXE"});
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    EXPECT_EQ(Joined({"Short.lnk"}), Joined(FilesIn(menuDir + "\\")));
}

TEST_F(ShortcutTest, GroupFolderThatCannotBeMadeIsReportedAndNothingIsWritten)
{
    ASSERT_TRUE(WriteFileBytes(temp / "Programs\\Acme", "a file where a folder should be"));
    WriteInf({"Puzzle,PUZZLE.EXE"});
    MessageBoxRecorder boxes;
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_NE(std::string::npos, boxes.boxes[0].text.find(temp / "Programs\\Acme")) << boxes.boxes[0].text;
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.boxes[0].style & MB_ICONMASK);
    EXPECT_FALSE(FolderExists(menuDir));
}

TEST_F(ShortcutTest, RemovalDeletesGroupShortcutsAndClimbsWhileFoldersEmpty)
{
    WriteInf({"Puzzle,PUZZLE.EXE", "Uninstall Puzzle,SETUP.EXE,/r"});
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    ASSERT_EQ(2u, FilesIn(menuDir + "\\").size());
    ASSERT_TRUE(WriteFileBytes(temp / "Programs\\Other.lnk", "x"));

    UpdateShortcuts(testPackage, ProgramMenu, RemoveShortcuts, Boxes());
    EXPECT_FALSE(FolderExists(menuDir));
    EXPECT_FALSE(FolderExists(temp / "Programs\\Acme"));
    EXPECT_TRUE(FileExists(temp / "Programs\\Other.lnk"));
    EXPECT_TRUE(FolderExists(temp / "Programs"));
}

TEST_F(ShortcutTest, RemovalStopsAtAFolderThatHoldsAnotherFile)
{
    WriteInf({"Puzzle,PUZZLE.EXE", "Uninstall Puzzle,SETUP.EXE,/r"});
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    ASSERT_TRUE(WriteFileBytes(menuDir + "\\Readme.txt", "x"));

    UpdateShortcuts(testPackage, ProgramMenu, RemoveShortcuts, Boxes());
    EXPECT_EQ(Joined({"Readme.txt"}), Joined(FilesIn(menuDir + "\\")));
    EXPECT_TRUE(FolderExists(temp / "Programs\\Acme"));
}

TEST_F(ShortcutTest, RemovalWithoutGroupEntriesDeletesOnlyTheTitleShortcut)
{
    ASSERT_TRUE(WriteFileBytes(menuDir + "\\Puzzle.lnk", "x"));
    ASSERT_TRUE(WriteFileBytes(menuDir + "\\Other.lnk", "x"));
    WriteInf({});
    UpdateShortcuts(testPackage, ProgramMenu, RemoveShortcuts, Boxes());
    EXPECT_EQ(Joined({"Other.lnk"}), Joined(FilesIn(menuDir + "\\")));
}

class ShellFolderTest : public ShortcutTest {
protected:
    RegistryValueGuard desktopGuard{HKEY_CURRENT_USER, kShellFoldersKey, "Desktop"};
    RegistryValueGuard startupGuard{HKEY_CURRENT_USER, kShellFoldersKey, "Startup"};

    // The shell rewrites its "Shell Folders" values from "User Shell Folders" whenever it
    // looks a folder up (creating or loading a link does), so they are set right before use.
    void PointShellFoldersAtTest()
    {
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", temp / "Desktop"));
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kShellFoldersKey, "Startup", temp / "Startup\\"));
    }
};

TEST_F(ShellFolderTest, DesktopAndStartupShortcutsComeAndGo)
{
    ASSERT_TRUE(MakeFolder(temp / "Desktop"));
    ASSERT_TRUE(MakeFolder(temp / "Startup"));
    // The group list belongs to the program menu only; the other places make the single shortcut.
    WriteInf({"Group,PUZZLE.EXE"});
    CopyText(testPackage.shortcutTarget, "PUZZLE.EXE,-tray");
    LinkFields expected = Plain("Puzzle", "PUZZLE.EXE");
    expected.arguments = "-tray";

    PointShellFoldersAtTest();
    UpdateShortcuts(testPackage, Desktop, MakeShortcuts, Boxes());
    PointShellFoldersAtTest();
    UpdateShortcuts(testPackage, Startup, MakeShortcuts, Boxes());
    ExpectLink(temp / "Desktop\\Puzzle.lnk", expected);
    ExpectLink(temp / "Startup\\Puzzle.lnk", expected);
    EXPECT_FALSE(FolderExists(menuDir));

    ASSERT_TRUE(WriteFileBytes(temp / "Desktop\\Other.lnk", "x"));
    PointShellFoldersAtTest();
    UpdateShortcuts(testPackage, Desktop, RemoveShortcuts, Boxes());
    UpdateShortcuts(testPackage, Startup, RemoveShortcuts, Boxes());
    EXPECT_EQ(Joined({"Other.lnk"}), Joined(FilesIn(temp / "Desktop\\")));
    EXPECT_TRUE(FilesIn(temp / "Startup\\").empty());
    EXPECT_TRUE(FolderExists(temp / "Startup"));
}

TEST_F(ShellFolderTest, PlaceWithoutFolderMakesAndRemovesNothing)
{
    ASSERT_TRUE(DeleteRegistryValue(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop"));
    WriteInf({});
    CopyText(testPackage.shortcutTarget, "PUZZLE.EXE");
    UpdateShortcuts(testPackage, Desktop, MakeShortcuts, Boxes());
    EXPECT_TRUE(FilesIn(temp.path()).size() == 1) << Joined(FilesIn(temp.path()));  // SETUP.INF only
    EXPECT_FALSE(FileExists("C:\\Puzzle.lnk"));

    // An empty program-menu folder is no folder either.
    installState.menuDir[0] = '\0';
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    EXPECT_TRUE(FilesIn(temp.path()).size() == 1) << Joined(FilesIn(temp.path()));
    EXPECT_FALSE(FileExists("C:\\Puzzle.lnk"));
}

TEST_F(ShortcutTest, RemovalClimbKeepsTheUsersEmptyProgramsFolder)
{
    const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    RegistryValueGuard programsGuard{HKEY_CURRENT_USER, kShellFoldersKey, "Programs"};
    RegistryValueGuard userProgramsGuard{HKEY_CURRENT_USER, kUserShellFolders, "Programs"};
    WriteInf({"Puzzle,PUZZLE.EXE"});
    UpdateShortcuts(testPackage, ProgramMenu, MakeShortcuts, Boxes());
    ASSERT_TRUE(FolderExists(menuDir));

    // The user's Programs folder holds nothing but this program's folder: once that is gone it
    // is empty, and still it is the user's. The shell rewrites "Shell Folders" from "User
    // Shell Folders" whenever it is asked for a known folder, so both name it.
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kShellFoldersKey, "Programs", temp / "Programs"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kUserShellFolders, "Programs", temp / "Programs"));
    UpdateShortcuts(testPackage, ProgramMenu, RemoveShortcuts, Boxes());
    EXPECT_FALSE(FolderExists(menuDir));
    EXPECT_FALSE(FolderExists(temp / "Programs\\Acme"));
    EXPECT_TRUE(FolderExists(temp / "Programs"));
}

}  // namespace
