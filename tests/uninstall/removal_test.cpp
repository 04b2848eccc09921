// Removal engine: the "Reg" keys, the file entries, the install folder and the shortcuts,
// against the real file system and registry of the test prefix.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/registry_key.h"
#include "base/window.h"
#include "install_state_fixture.h"
#include "base/protected_folders.h"
#include "res/resource.h"
#include "support/expected_messages.h"
#include "uninstall/removal.h"

namespace {

const char kTestKey[] = "Software\\TinySetupTest";

std::string DeleteFailedText(const std::string& path)
{
    return ExpectedText(IDS_DELETE_FAILED, MessageLanguage::English, {path});
}

std::string FolderFailedText(const std::string& folder)
{
    return ExpectedText(IDS_FOLDER_DELETE_FAILED, MessageLanguage::English, {folder});
}

std::string ShellFolder(const char* name)
{
    return ReadRegistryValue(HKEY_CURRENT_USER, kShellFoldersKey, name).text();
}

// A file held open without sharing, as a running program holds its own file.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : handle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~HeldFile() { Release(); }
    void Release()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
    HANDLE handle;
};

std::string Texts(const std::vector<RecordedBox>& boxes)
{
    std::string all;
    for (const RecordedBox& box : boxes)
        all += "[" + box.text + "] ";
    return all;
}

class RemovalTest : public InstallStateTest {
protected:
    RemovalTest() : InstallStateTest(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    void SetUp() override
    {
        InstallStateTest::SetUp();
        installState.ownerWindow = reinterpret_cast<HWND>(0x1234);
        DeleteRegistryTree(HKEY_CURRENT_USER, kTestKey);
    }

    BoxReport report{reinterpret_cast<HWND>(0x1234)};

    void TearDown() override
    {
        DeleteRegistryTree(HKEY_CURRENT_USER, kTestKey);
        InstallStateTest::TearDown();
    }

    // The setup information file with its [Install] file entries (and more sections), the
    // installed program copy beside it, and fileCount.
    void WriteInf(const std::vector<std::string>& entries, const std::string& more = "")
    {
        std::string text = "[Install]\r\nTitle=TinySetupTest Removal\r\nFolder=TinySetupTest\r\n";
        for (size_t i = 0; i < entries.size(); ++i)
            text += std::to_string(i + 1) + "=" + entries[i] + "\r\n";
        ASSERT_TRUE(WriteFileBytes(installDir + "TQSETUP.INF", text + more));
        ASSERT_TRUE(WriteFileBytes(installDir + "TQSETUP.EXE", "program"));
        testPackage.fileCount = static_cast<int>(entries.size());
    }

    void Put(const std::string& relative) { ASSERT_TRUE(WriteFileBytes(installDir + relative, relative)); }

    void ExpectBox(const RecordedBox& box, const std::string& text)
    {
        EXPECT_EQ(text, box.text);
        EXPECT_EQ(installState.ownerWindow, box.owner) << box.text;
        EXPECT_FALSE(box.hasCaption) << box.text;
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), box.style) << box.text;
    }

    std::string InstallFolderWithoutSeparator() const { return installDir.substr(0, installDir.size() - 1); }
};

TEST_F(RemovalTest, RemovesEverythingTheInstallationMade)
{
    char systemDir[MAX_PATH];
    GetSystemDirectoryA(systemDir, MAX_PATH);
    std::string sharedFile = std::string(systemDir) + "\\TinySetupTestShared.dll";
    ASSERT_TRUE(WriteFileBytes(sharedFile, "shared"));

    WriteInf({"PUZZLE.EXE", "data\\level1.dat", "level2.dat,data\\deep\\level2.dat", "readme.txt,docs/readme.txt",
              "shared.dll,s!TinySetupTestShared.dll"},
             "[Group]\r\n1=Puzzle,PUZZLE.EXE\r\n2=Uninstall,TQSETUP.EXE,/r\r\n"
             "[Reg]\r\n1=HKEY_CURRENT_USER\\Software\\TinySetupTest\\Puzzle\r\n");
    testPackage.groupCount = 2;
    for (const char* file : {"PUZZLE.EXE", "data\\level1.dat", "data\\deep\\level2.dat", "docs\\readme.txt",
                             "notes.txt", "PUZZLE.GID"})
        Put(file);
    ASSERT_TRUE(WriteFileBytes(menuFolder + "\\Puzzle.lnk", "link"));
    ASSERT_TRUE(WriteFileBytes(menuFolder + "\\Uninstall.lnk", "link"));
    std::string desktopLink = ShellFolder("Desktop") + "\\TinySetupTest Removal.lnk";
    std::string startupLink = ShellFolder("Startup") + "\\TinySetupTest Removal.lnk";
    ASSERT_TRUE(WriteFileBytes(desktopLink, "link"));
    ASSERT_TRUE(WriteFileBytes(startupLink, "link"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, "Software\\TinySetupTest\\Puzzle\\Scores", "best", "1"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, "Software\\TinySetupTest\\Other", "keep", "1"));

    MessageBoxRecorder recorder;
    EXPECT_TRUE(RemoveInstalledFiles(testPackage, report));

    EXPECT_TRUE(recorder.boxes.empty()) << Texts(recorder.boxes);
    EXPECT_FALSE(FolderExists(installDir)) << "install folder";
    EXPECT_FALSE(FolderExists(menuFolder)) << "program-menu folder";
    EXPECT_FALSE(FileExists(desktopLink));
    EXPECT_FALSE(FileExists(startupLink));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\TinySetupTest\\Puzzle"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\TinySetupTest\\Other"));
    EXPECT_TRUE(FileExists(sharedFile)) << "a system-folder entry stays";
    DeleteFileA(sharedFile.c_str());
}

TEST_F(RemovalTest, EntryOneInUseStopsAfterMessages24And28)
{
    WriteInf({"PUZZLE.EXE", "level.dat"}, "[Group]\r\n1=Puzzle,PUZZLE.EXE\r\n");
    testPackage.groupCount = 1;
    Put("PUZZLE.EXE");
    Put("level.dat");
    ASSERT_TRUE(WriteFileBytes(menuFolder + "\\Puzzle.lnk", "link"));
    std::string desktopLink = ShellFolder("Desktop") + "\\TinySetupTest Removal.lnk";
    ASSERT_TRUE(WriteFileBytes(desktopLink, "link"));

    MessageBoxRecorder recorder;
    {
        HeldFile running(installDir + "PUZZLE.EXE");
        ASSERT_NE(INVALID_HANDLE_VALUE, running.handle);
        EXPECT_FALSE(RemoveInstalledFiles(testPackage, report));
    }

    ASSERT_EQ(2u, recorder.boxes.size()) << Texts(recorder.boxes);
    ExpectBox(recorder.boxes[0], DeleteFailedText(installDir + "PUZZLE.EXE"));
    ExpectBox(recorder.boxes[1], ExpectedText(IDS_ENTRY1_DELETE_FAILED, MessageLanguage::English,
                                              {installDir + "PUZZLE.EXE", "TinySetupTest Removal"}));
    EXPECT_FALSE(FileExists(installDir + "level.dat")) << "entry 2 went before entry 1";
    EXPECT_TRUE(FileExists(installDir + "TQSETUP.INF")) << "needed by the next attempt";
    EXPECT_TRUE(FileExists(installDir + "TQSETUP.EXE"));
    EXPECT_TRUE(FileExists(menuFolder + "\\Puzzle.lnk"));
    EXPECT_TRUE(FileExists(desktopLink));
    DeleteFileA(desktopLink.c_str());
}

TEST_F(RemovalTest, EntryTwoInUseKeepsWhatAnotherAttemptNeeds)
{
    WriteInf({"PUZZLE.EXE", "level.dat"});
    Put("PUZZLE.EXE");
    Put("level.dat");

    MessageBoxRecorder recorder;
    bool keptForRetry = false;
    {
        HeldFile held(installDir + "level.dat");
        ASSERT_NE(INVALID_HANDLE_VALUE, held.handle);
        EXPECT_FALSE(RemoveInstalledFiles(testPackage, report, &keptForRetry));
    }

    ASSERT_EQ(1u, recorder.boxes.size()) << Texts(recorder.boxes);
    ExpectBox(recorder.boxes[0], DeleteFailedText(installDir + "level.dat"));
    EXPECT_TRUE(keptForRetry);
    EXPECT_FALSE(FileExists(installDir + "PUZZLE.EXE"));
    EXPECT_TRUE(FileExists(installDir + "TQSETUP.INF"));
    EXPECT_TRUE(FileExists(installDir + "TQSETUP.EXE"));
}

DWORD WINAPI ReleaseAfterAMoment(LPVOID file)
{
    Sleep(500);
    static_cast<HeldFile*>(file)->Release();
    return 0;
}

TEST_F(RemovalTest, TheProgramHeldByAnEndingProcessGoesOnceReleased)
{
    WriteInf({});
    HeldFile held(installDir + "TQSETUP.EXE");
    ASSERT_NE(INVALID_HANDLE_VALUE, held.handle);
    HANDLE releaser = CreateThread(nullptr, 0, ReleaseAfterAMoment, &held, 0, nullptr);
    ASSERT_NE(nullptr, releaser);

    MessageBoxRecorder recorder;
    EXPECT_TRUE(RemoveInstalledFiles(testPackage, report));
    WaitForSingleObject(releaser, INFINITE);
    CloseHandle(releaser);
    EXPECT_TRUE(recorder.boxes.empty()) << Texts(recorder.boxes);
    EXPECT_FALSE(FolderExists(installDir));
}

TEST_F(RemovalTest, FileAlreadyDeletedByTheUserCountsAsRemoved)
{
    WriteInf({"PUZZLE.EXE", "gone.dat", "sub\\gone-too.dat"});
    Put("PUZZLE.EXE");

    MessageBoxRecorder recorder;
    EXPECT_TRUE(RemoveInstalledFiles(testPackage, report));
    EXPECT_TRUE(recorder.boxes.empty()) << Texts(recorder.boxes);
    EXPECT_FALSE(FolderExists(installDir));
}

TEST_F(RemovalTest, RemoveNoneDeletesOnlyHelpIndexFilesBesideTheEntries)
{
    struct Case {
        const char* name;
        std::vector<std::string> leftOver;
        bool folderRemoved;
    } cases[] = {
        {"only a help index", {"PUZZLE.GID"}, true},
        {"help index and notes", {"PUZZLE.gid", "notes.txt"}, false},
        {"a name that only begins with a dot", {".gid"}, false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        WriteInf({"PUZZLE.EXE"});
        Put("PUZZLE.EXE");
        for (const std::string& file : row.leftOver)
            Put(file);
        testPackage.keepForeignFiles = true;

        MessageBoxRecorder recorder;
        EXPECT_EQ(row.folderRemoved, RemoveInstalledFiles(testPackage, report));
        EXPECT_TRUE(recorder.boxes.empty()) << Texts(recorder.boxes);
        EXPECT_EQ(!row.folderRemoved, FolderExists(installDir));
        for (const std::string& file : row.leftOver) {
            const char* dot = strrchr(file.c_str(), '.');
            bool helpIndex = dot != file.c_str() && lstrcmpiA(dot, ".gid") == 0;
            EXPECT_EQ(!helpIndex, FileExists(installDir + file)) << file;
        }
        EXPECT_FALSE(FileExists(installDir + "PUZZLE.EXE"));
        RemoveTree(installDir);
        CreateDirectoryA(installDir.c_str(), nullptr);
    }
}

TEST_F(RemovalTest, EmptySubFoldersOfTheEntriesGoWithTheInstallFolder)
{
    WriteInf({"PUZZLE.EXE", "data\\level1.dat", "a.dat,data\\maps\\deep\\a.dat", "b.dat,data/maps/b.dat",
              "c.dat,sounds\\c.wav"});
    for (const char* file : {"PUZZLE.EXE", "data\\level1.dat", "data\\maps\\deep\\a.dat", "data\\maps\\b.dat",
                             "sounds\\c.wav"})
        Put(file);

    MessageBoxRecorder recorder;
    EXPECT_TRUE(RemoveInstalledFiles(testPackage, report));
    EXPECT_TRUE(recorder.boxes.empty()) << Texts(recorder.boxes);
    EXPECT_FALSE(FolderExists(installDir));
    EXPECT_TRUE(FolderExists(root.path())) << "the climb ends at the install folder";
}

// The package's "Folder" value Vendor\Product made Vendor above the install folder: it goes
// when the removal leaves it empty, and only then, and only when the install folder lies in a
// folder of that name.
TEST_F(RemovalTest, EmptyFoldersThePackageFolderValueNamedGoToo)
{
    struct Case {
        const char* folderValue;
        const char* installFolder;  // below the test's folder
        const char* otherFile;      // a file of the user's, or nullptr
        bool vendorGone;
    };
    const Case cases[] = {
        {"Vendor\\Product", "Vendor\\Product\\", nullptr, true},
        {"/Vendor/Product/", "vendor\\product\\", nullptr, true},
        {"Vendor\\Product", "Vendor\\Product\\", "Vendor\\keep.txt", false},
        {"Vendor\\Product 2", "Vendor\\Product\\", nullptr, true},  // a reinstall's newer value
        {"Vendor\\Product", "Elsewhere\\Product\\", nullptr, false},
        {"Product", "Vendor\\Product\\", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.folderValue) + " in " + c.installFolder);
        std::string folder = root / c.installFolder;
        Copy(installState.installDir, folder);
        Copy(testPackage.infPath, folder + "TQSETUP.INF");
        ASSERT_TRUE(WriteFileBytes(folder + "TQSETUP.INF",
                                   std::string("[Install]\r\nTitle=T\r\nFolder=") + c.folderValue + "\r\n1=PUZZLE.EXE\r\n"));
        ASSERT_TRUE(WriteFileBytes(folder + "TQSETUP.EXE", "program"));
        ASSERT_TRUE(WriteFileBytes(folder + "PUZZLE.EXE", "program"));
        testPackage.fileCount = 1;
        if (c.otherFile) {
            ASSERT_TRUE(WriteFileBytes(root / c.otherFile, "mine"));
        }

        MessageBoxRecorder recorder;
        EXPECT_TRUE(RemoveInstalledFiles(testPackage, report));
        EXPECT_TRUE(recorder.boxes.empty()) << Texts(recorder.boxes);
        EXPECT_FALSE(FolderExists(folder));
        std::string parent = folder.substr(0, folder.find_last_of('\\', folder.size() - 2));
        EXPECT_EQ(c.vendorGone, !FolderExists(parent)) << parent;
        EXPECT_TRUE(FolderExists(root.path())) << "never more levels than the value names";
        if (c.otherFile) {
            EXPECT_TRUE(FileExists(root / c.otherFile));
        }
        RemoveTree(parent);
    }
}

TEST_F(RemovalTest, SubFolderHoldingTheUsersFileKeepsTheInstallFolder)
{
    WriteInf({"PUZZLE.EXE", "data\\maps\\level1.dat", "x.dat,..\\outside\\x.dat"});
    Put("PUZZLE.EXE");
    Put("data\\maps\\level1.dat");
    Put("data\\save.sav");
    ASSERT_TRUE(WriteFileBytes(root / "outside\\x.dat", "x"));

    MessageBoxRecorder recorder;
    EXPECT_FALSE(RemoveInstalledFiles(testPackage, report));

    ASSERT_EQ(1u, recorder.boxes.size()) << Texts(recorder.boxes);
    ExpectBox(recorder.boxes[0], FolderFailedText(InstallFolderWithoutSeparator()));
    EXPECT_FALSE(FolderExists(installDir + "data\\maps")) << "emptied by the removal";
    EXPECT_TRUE(FileExists(installDir + "data\\save.sav"));
    EXPECT_TRUE(FileExists(root / "outside\\x.dat")) << "\"..\" led the entry out of the install folder: never deleted";
    EXPECT_TRUE(FolderExists(root / "outside")) << "a folder outside the install folder stays";
}

TEST_F(RemovalTest, AbnormalRegValuesAreReportedAndTheNextKeysStillGo)
{
    // Keys 1 to 9 in order; key 10 is missing, so key 11 is never read.
    WriteInf({},
             "[Reg]\r\n"
             "1=hkey_current_user\\Software\\TinySetupTest\\Lower\r\n"
             "2=HKEY_CURRENT_USER\\Software\\TinySetupTest\\A\r\n"
             "3=HKEY_USERS\\.DEFAULT\\Software\\TinySetupTest\r\n"
             "4=HKEY_CURRENT_USER\r\n"
             "5=HKEY_CURRENT_USER\\\r\n"
             "6=HKEY_CURRENT_USER|Software\\TinySetupTest\\B\r\n"
             "7=HKEY_LOCAL_MACHINE\\Software\\TinySetupTestRemoval\r\n"
             "8=HKEY_CLASSES_ROOT\\TinySetupTestRemoval.Document\r\n"
             "9=HKEY_CURRENT_USER\\Software\\TinySetupTest\\NoSuchKey\r\n"
             "11=HKEY_CURRENT_USER\\Software\\TinySetupTest\\Unread\r\n");
    for (const char* key : {"Lower", "A\\Sub\\Deeper", "B", "Unread", "Survivor"})
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\" + key).c_str(), "v", "1"));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, "Software\\TinySetupTestRemoval\\Sub", "v", "1"));
    ASSERT_TRUE(SetRegistryString(HKEY_CLASSES_ROOT, "TinySetupTestRemoval.Document\\shell", "v", "1"));
    // The install found the class absent.
    ASSERT_TRUE(WriteFileBytes(installDir + "TQSETUP.REC", "C HKEY_CLASSES_ROOT\\TinySetupTestRemoval.Document\r\n"));

    MessageBoxRecorder recorder;
    EXPECT_TRUE(RemoveInstalledFiles(testPackage, report)) << "registry problems do not count";

    ASSERT_EQ(4u, recorder.boxes.size()) << Texts(recorder.boxes);
    for (const RecordedBox& box : recorder.boxes)
        ExpectBox(box, ExpectedText(IDS_ABNORMAL_REG, MessageLanguage::English));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\TinySetupTest\\Lower"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\TinySetupTest\\A"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\TinySetupTest\\B"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\TinySetupTest\\Unread"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\TinySetupTest\\Survivor"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Wine")) << "a root-only value deletes nothing";
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, "Software\\TinySetupTestRemoval"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "TinySetupTestRemoval.Document"));
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\TinySetupTestRemoval");
    DeleteRegistryTree(HKEY_CLASSES_ROOT, "TinySetupTestRemoval.Document");
}

// The system's keys stay whatever a setup file names, down to each service's own key; a file
// extension goes only when the record says the install found it absent.
TEST_F(RemovalTest, TheSystemsKeysStayAndAnExtensionGoesOnlyWhenTheInstallFoundItAbsent)
{
    const std::string service = "System\\CurrentControlSet\\Services\\TinySetupTestService";
    const std::string explorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TinySetupTest";
    WriteInf({}, "[Reg]\r\n1=HKEY_LOCAL_MACHINE\\" + service + "\r\n2=HKEY_LOCAL_MACHINE\\" + service +
                     "\\Parameters\r\n3=HKEY_CURRENT_USER\\" + explorer +
                     "\r\n4=HKEY_CLASSES_ROOT\\.tinysetupold\r\n5=HKEY_CLASSES_ROOT\\.tinysetupnew\r\n");
    ASSERT_TRUE(WriteFileBytes(installDir + "TQSETUP.REC", "C HKEY_CLASSES_ROOT\\.tinysetupnew\r\n"));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, (service + "\\Parameters").c_str(), "v", "1"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, explorer.c_str(), "v", "1"));
    for (const char* extension : {".tinysetupold", ".tinysetupnew"})
        ASSERT_TRUE(SetRegistryString(HKEY_CLASSES_ROOT, extension, "", "x"));

    MessageBoxRecorder recorder;
    EXPECT_TRUE(RemoveInstalledFiles(testPackage, report));
    EXPECT_EQ(3u, recorder.boxes.size()) << Texts(recorder.boxes);
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, service.c_str()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, (service + "\\Parameters").c_str()));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, explorer.c_str()));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".tinysetupold"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".tinysetupnew"));
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, service.c_str());
    DeleteRegistryTree(HKEY_CURRENT_USER, explorer.c_str());
    DeleteRegistryTree(HKEY_CLASSES_ROOT, ".tinysetupold");
}

// A quoted value too long for a key path. The platform's profile reader may hand it back cut
// yet looking whole (Wine's does: it takes the last character kept for the closing quote), and
// the cut text names another key, which would go with everything below it. It is refused.
TEST_F(RemovalTest, AQuotedRegValueTooLongIsRefusedNotCut)
{
    // One character more than a key path holds, inside the quotes.
    std::string value = "HKEY_CURRENT_USER\\" + std::string(kTestKey) + "\\Survivor\\";
    value += std::string(kPathCapacity - value.size(), 'a');
    WriteInf({}, "[Reg]\r\n1=\"" + value + "\"\r\n");
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\Survivor").c_str(), "v", "1"));
    // The key that the profile reader's answer in a key path's buffer names, where that answer
    // looks whole: it stands for another program's key here.
    char seen[kPathCapacity + 1];
    DWORD length = GetPrivateProfileStringA("Reg", "1", "", seen, sizeof seen, testPackage.infPath);
    std::string cutKey;
    const std::string root = "HKEY_CURRENT_USER\\";
    if (length < kPathCapacity && std::string(seen).rfind(root, 0) == 0) {
        cutKey = std::string(seen).substr(root.size());
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, (cutKey + "\\Data").c_str(), "v", "1"));
    }

    MessageBoxRecorder recorder;
    EXPECT_TRUE(RemoveInstalledFiles(testPackage, report));

    ASSERT_EQ(1u, recorder.boxes.size()) << Texts(recorder.boxes);
    ExpectBox(recorder.boxes[0], ExpectedText(IDS_ABNORMAL_REG, MessageLanguage::English));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\Survivor").c_str()));
    if (!cutKey.empty()) {
        EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, (cutKey + "\\Data").c_str())) << "the cut value's key was deleted";
    }
}

TEST_F(RemovalTest, InstallFolderThatIsAShellFolderKeepsForeignFiles)
{
    RegistryValueGuard personal(HKEY_CURRENT_USER, kShellFoldersKey, "Personal");
    // Another spelling of the same folder: other case, no trailing separator.
    std::string spelling = InstallFolderWithoutSeparator();
    CharUpperA(&spelling[0]);
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kShellFoldersKey, "Personal", spelling));
    WriteInf({"PUZZLE.EXE", "data\\level1.dat"});
    Put("PUZZLE.EXE");
    Put("data\\level1.dat");
    Put("letter.doc");
    Put("NOTES.GID");

    MessageBoxRecorder recorder;
    EXPECT_FALSE(RemoveInstalledFiles(testPackage, report));

    EXPECT_TRUE(recorder.boxes.empty()) << Texts(recorder.boxes);
    EXPECT_TRUE(FileExists(installDir + "letter.doc"));
    EXPECT_FALSE(FileExists(installDir + "NOTES.GID"));
    EXPECT_FALSE(FileExists(installDir + "PUZZLE.EXE"));
    EXPECT_FALSE(FileExists(installDir + "TQSETUP.INF"));
    EXPECT_FALSE(FolderExists(installDir + "data"));

    // Emptied of the installed files, the folder itself still stays.
    DeleteFileA((installDir + "letter.doc").c_str());
    EXPECT_FALSE(ClearInstallFolder(testPackage, installDir.c_str(), report));
    EXPECT_TRUE(FolderExists(installDir));
    EXPECT_TRUE(recorder.boxes.empty()) << Texts(recorder.boxes);
}

TEST(ProtectedFolders, RootsSystemAndUserFoldersAreProtected)
{
    char windowsDir[MAX_PATH];
    char systemDir[MAX_PATH];
    GetWindowsDirectoryA(windowsDir, MAX_PATH);
    GetSystemDirectoryA(systemDir, MAX_PATH);
    std::string programFiles = ReadRegistryValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir").text();
    // The profile and its Downloads folder, which the old "Shell Folders" key does not list.
    char profileText[MAX_PATH] = "";
    DWORD profileLength = GetEnvironmentVariableA("USERPROFILE", profileText, MAX_PATH);
    ASSERT_TRUE(profileLength != 0 && profileLength < MAX_PATH);
    std::string profile = profileText;
    // Judged by identity: the documents folder by its short name and through the drive letter
    // that the test prefix maps onto the profile (as subst or a mapped drive gives it).
    char documentsShort[MAX_PATH] = "";
    ASSERT_NE(0u, GetShortPathNameA(ShellFolder("Personal").c_str(), documentsShort, MAX_PATH));
    ASSERT_NE(std::string(documentsShort), ShellFolder("Personal"));
    ASSERT_TRUE(FolderExists("P:\\Documents")) << "the prefix maps P: onto the profile";
    struct Case {
        std::string folder;
        bool isProtected;
    } cases[] = {
        {"C:\\", true},
        {"c:/", true},
        {"\\\\server\\share\\", true},
        {"\\\\server\\share\\games\\", false},
        {std::string(windowsDir) + "\\", true},
        {systemDir, true},
        {std::string(systemDir) + "\\..\\system32\\", true},
        {ShellFolder("Desktop"), true},
        {ShellFolder("Personal") + "\\", true},
        {ShellFolder("Programs"), true},
        {ShellFolder("Start Menu"), true},
        {ShellFolder("Startup"), true},
        {programFiles, true},
        {programFiles + "\\Puzzle\\", false},
        {ShellFolder("Desktop") + "\\Puzzle", false},
        {"C:\\tinysetup-tests\\Puzzle\\", false},
        {profile, true},
        {profile + "\\Downloads\\", true},
        {profile + "/downloads", true},
        {profile + "\\Downloads\\Puzzle", false},
        {"", true},
        {documentsShort, true},
        {"P:\\Documents", true},
        {"P:\\Documents\\Puzzle", false},
        {"C:\\.", true},
        {programFiles + "\\..\\..", true},
        {ShellFolder("My Pictures"), true},
        {ShellFolder("AppData"), true},
        {ReadRegistryValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "CommonFilesDir").text(), true},
    };
    for (const Case& row : cases)
        EXPECT_EQ(row.isProtected, IsProtectedFolder(row.folder.c_str())) << "folder \"" << row.folder << "\"";
}

// A large file is deleted by a worker that first cuts it down (see DeleteOnWorker). Only
// a file that is then deleted may be cut: one held open, even by a program that lets others
// read and write it, is reported and left whole. A read-only file goes; a read-only hard link
// to a file of the user's stays, reported, and the user's file keeps its attribute.
TEST_F(RemovalTest, ALargeFileGoesAndOneThatCannotGoIsLeftWhole)
{
    std::string content(kWorkerFileBytes + 4096, 'x');
    content.replace(content.size() - 5, 5, "final");
    for (const char* name : {"plain.bin", "held.bin", "shared.bin", "readonly.bin"})
        ASSERT_TRUE(WriteFileBytes(installDir + name, content)) << name;
    ASSERT_TRUE(SetFileAttributesA((installDir + "readonly.bin").c_str(), FILE_ATTRIBUTE_READONLY));

    MessageBoxRecorder recorder;
    EXPECT_TRUE(DeleteFileReporting((installDir + "plain.bin").c_str(), report));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((installDir + "plain.bin").c_str()));
    {
        HeldFile held(installDir + "held.bin");
        ASSERT_NE(INVALID_HANDLE_VALUE, held.handle);
        EXPECT_FALSE(DeleteFileReporting((installDir + "held.bin").c_str(), report));
    }
    {
        HANDLE shared = CreateFileA((installDir + "shared.bin").c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, shared);
        EXPECT_FALSE(DeleteFileReporting((installDir + "shared.bin").c_str(), report));
        CloseHandle(shared);
    }
    EXPECT_TRUE(DeleteFileReporting((installDir + "readonly.bin").c_str(), report));
    EXPECT_FALSE(FileExists(installDir + "readonly.bin"));
    // A hard link to a file of the user's: only the name in the install folder goes.
    std::string usersFile = installDir + "..\\users-movie.bin";
    ASSERT_TRUE(WriteFileBytes(usersFile, content));
    ASSERT_TRUE(CreateHardLinkA((installDir + "linked.bin").c_str(), usersFile.c_str(), nullptr));
    EXPECT_TRUE(DeleteFileReporting((installDir + "linked.bin").c_str(), report));
    EXPECT_FALSE(FileExists(installDir + "linked.bin"));
    EXPECT_TRUE(ReadFileBytes(usersFile) == content) << "the user's file was cut";
    ASSERT_TRUE(SetFileAttributesA(usersFile.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CreateHardLinkA((installDir + "linked-readonly.bin").c_str(), usersFile.c_str(), nullptr));
    EXPECT_FALSE(DeleteFileReporting((installDir + "linked-readonly.bin").c_str(), report));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY), GetFileAttributesA(usersFile.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(ReadFileBytes(usersFile) == content) << "the user's file was cut";
    SetFileAttributesA(usersFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((installDir + "linked-readonly.bin").c_str());
    DeleteFileA(usersFile.c_str());

    EXPECT_EQ(3u, recorder.boxes.size()) << Texts(recorder.boxes);
    for (const char* name : {"held.bin", "shared.bin"})
        EXPECT_TRUE(ReadFileBytes(installDir + name) == content) << name << " was changed";
    SetFileAttributesA((installDir + "readonly.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RemovalTest, DeleteFileReportingAndClearInstallFolderOnTheirOwn)
{
    MessageBoxRecorder recorder;
    EXPECT_TRUE(DeleteFileReporting((installDir + "missing.txt").c_str(), report));
    Put("held.txt");
    {
        HeldFile held(installDir + "held.txt");
        EXPECT_FALSE(DeleteFileReporting((installDir + "held.txt").c_str(), report));
    }
    ASSERT_EQ(1u, recorder.boxes.size()) << Texts(recorder.boxes);
    ExpectBox(recorder.boxes[0], DeleteFailedText(installDir + "held.txt"));

    // Given without its trailing separator; the foreign file goes with keepForeignFiles clear.
    EXPECT_TRUE(ClearInstallFolder(testPackage, InstallFolderWithoutSeparator().c_str(), report));
    EXPECT_FALSE(FolderExists(installDir));
    EXPECT_TRUE(ClearInstallFolder(testPackage, installDir.c_str(), report)) << "a folder that is not there";
    EXPECT_EQ(1u, recorder.boxes.size()) << Texts(recorder.boxes);
}

}  // namespace
