// Registration records: the uninstall entry and the application key read back with their types
// and stored lengths, and registry trees deleted bottom-up.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/path.h"
#include "base/registry_key.h"
#include "res/version.h"
#include "setup/install_state.h"
#include "shell/registration.h"
#include "support/test_support.h"

namespace {

const char kTestEntryName[] = "TinySetupTest-ShellRegistration";
const std::string kTestEntry = std::string(kUninstallKey) + "\\" + kTestEntryName;
const char kScratch[] = "Software\\TinySetupTest\\ShellRegistration";

std::string Scratch(const std::string& below) { return std::string(kScratch) + "\\" + below; }

void ExpectString(const RegistryValue& value, const std::string& text)
{
    ASSERT_TRUE(value.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ(text.size() + 1, value.data.size()) << "stored length of " << text;
    EXPECT_EQ(text, value.text());
}

DWORD ValueCount(HKEY root, const std::string& subKey)
{
    HKEY key;
    DWORD count = 0;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return count;
}

bool MakeKey(HKEY root, const std::string& subKey)
{
    HKEY key;
    if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

class UninstallEntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installState = InstallState{};
        testPackage = Package{};
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTestEntry.c_str());
        CopyText(testPackage.installKey, kTestEntryName);
        CopyText(testPackage.title, "Puzzle");
        CopyText(installState.menuDir, "C:\\Menu\\Puzzle");
        CopyText(installState.installDir, "C:\\Apps\\Puzzle\\");
    }
    void TearDown() override { EXPECT_TRUE(DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTestEntry.c_str())); }
};

TEST_F(UninstallEntryTest, WritesExactlyItsValues)
{
    WriteUninstallEntry(testPackage, "C:\\Apps\\Puzzle\\SETUP.EXE");
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "DisplayName"), "Puzzle");
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "MenuDir"), "C:\\Menu\\Puzzle");
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "UninstallString"),
                 "\"C:\\Apps\\Puzzle\\SETUP.EXE\" /r");
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "QuietUninstallString"),
                 "\"C:\\Apps\\Puzzle\\SETUP.EXE\" /r /quiet");
    // Without entries the installer stands for the application; no version, nothing copied.
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "DisplayIcon"), "C:\\Apps\\Puzzle\\SETUP.EXE");
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "InstallLocation"), "C:\\Apps\\Puzzle");
    EXPECT_EQ(8u, ValueCount(HKEY_LOCAL_MACHINE, kTestEntry));
}

TEST_F(UninstallEntryTest, ReinstallUpdatesValueByValueAndKeepsOthers)
{
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "DisplayName", "Old Puzzle"));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "UninstallString",
                                  "\"C:\\A much longer old folder\\Puzzle\\SETUP.EXE\" /r"));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "HelpLink", "http://example.org/"));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "DisplayVersion", "0.9"));

    WriteUninstallEntry(testPackage, "D:\\Puzzle\\SETUP.EXE");
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "DisplayName"), "Puzzle");
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "UninstallString"),
                 "\"D:\\Puzzle\\SETUP.EXE\" /r");
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "HelpLink"), "http://example.org/");
    EXPECT_FALSE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "DisplayVersion").exists) << "not named now";
    EXPECT_EQ(9u, ValueCount(HKEY_LOCAL_MACHINE, kTestEntry));
}

// Entry 1 a program with a version resource (the installer's copy); the entry put back whole.
TEST_F(UninstallEntryTest, ProgramOfEntryOneGivesIconAndVersionAndTheEntryIsRestoredWhole)
{
    TempFolder folder("registration-entry-one");
    ASSERT_TRUE(CopyProgram(folder / "PUZZLE.EXE"));
    ASSERT_TRUE(WriteFileBytes(folder / "SETUP.INF", "[Install]\r\n1=PUZZLE.EXE\r\n"));
    CopyText(testPackage.infPath, (folder / "SETUP.INF").c_str());
    CopyText(installState.installDir, folder.path().c_str());
    CopyText(testPackage.publisher, "Tamberlyn");
    testPackage.fileCount = 1;
    installState.installedBytes = 1025;
    ASSERT_EQ(ERROR_SUCCESS, WriteUninstallEntry(testPackage, (folder / "SETUP.EXE").c_str()));
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "DisplayIcon"), folder / "PUZZLE.EXE");
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "DisplayVersion"), FILE_VERSION_TEXT);

    const char* names[] = {"DisplayName", "MenuDir", "UninstallString", "QuietUninstallString", "DisplayIcon",
                           "DisplayVersion", "Publisher", "InstallLocation", "EstimatedSize", "NoModify", "NoRepair"};
    std::vector<RegistryValue> written;
    for (const char* name : names)
        written.push_back(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), name));
    SavedUninstallEntry saved;
    ASSERT_TRUE(SaveUninstallEntry(testPackage, &saved));
    DeleteUninstallEntry(testPackage);
    RestoreUninstallEntry(testPackage, saved);
    for (size_t i = 0; i < written.size(); ++i) {
        RegistryValue back = ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), names[i]);
        EXPECT_TRUE(written[i].exists && back.type == written[i].type && back.data == written[i].data) << names[i];
    }
    EXPECT_EQ(11u, ValueCount(HKEY_LOCAL_MACHINE, kTestEntry));
}

TEST_F(UninstallEntryTest, EveryProgramPathIsWrittenWholeAndALongerOneRefused)
{
    // 259 characters, the longest path: with the quotes, blank and "/r" the command takes 265 bytes.
    std::string program = "C:\\" + std::string(250, 'p') + "\\S.EXE";
    ASSERT_EQ(259u, program.size());
    EXPECT_EQ(ERROR_SUCCESS, WriteUninstallEntry(testPackage, program.c_str()));
    ExpectString(ReadRegistryValue(HKEY_LOCAL_MACHINE, kTestEntry.c_str(), "UninstallString"),
                 "\"" + program + "\" /r");

    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTestEntry.c_str());
    EXPECT_EQ(ERROR_FILENAME_EXCED_RANGE, WriteUninstallEntry(testPackage, (program + "X").c_str()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kTestEntry.c_str())) << "nothing written, nothing cut";
}

TEST_F(UninstallEntryTest, OverlongKeyPathIsNeitherWrittenNorCut)
{
    // The key path is the Uninstall key, a separator and the name: 52 + 1 + 210 bytes > 259.
    std::string name = std::string(kTestEntryName) + std::string(210 - sizeof kTestEntryName + 1, 'k');
    ASSERT_EQ(210u, name.size());
    CopyText(testPackage.installKey, name.c_str());
    std::string fullPath = std::string(kUninstallKey) + "\\" + name;
    std::string cutPath = fullPath.substr(0, 259);
    WriteUninstallEntry(testPackage, "C:\\Apps\\Puzzle\\SETUP.EXE");
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, fullPath.c_str()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, cutPath.c_str()));
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, fullPath.c_str());
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, cutPath.c_str());
}

TEST_F(UninstallEntryTest, DeleteUninstallEntryRemovesTheWholeEntry)
{
    WriteUninstallEntry(testPackage, "C:\\Apps\\Puzzle\\SETUP.EXE");
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, kTestEntry + "\\Extra\\Deeper"));
    DeleteUninstallEntry(testPackage);
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kTestEntry.c_str()));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_F(UninstallEntryTest, EmptyInstallKeyIsNeitherWrittenNorDeleted)
{
    RegistryValueGuard displayName(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName");
    RegistryValueGuard command(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
    WriteUninstallEntry(testPackage, "C:\\Apps\\Puzzle\\SETUP.EXE");  // the entry of this test, as a sibling
    testPackage.installKey[0] = '\0';
    CopyText(testPackage.title, "Wrong place");

    WriteUninstallEntry(testPackage, "C:\\Apps\\Puzzle\\SETUP.EXE");
    EXPECT_NE("Wrong place", ReadRegistryValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName").text());
    DeleteUninstallEntry(testPackage);
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kTestEntry.c_str()));
}

class ApplicationKeyTest : public ::testing::Test {
protected:
    bool vendorExisted = RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Tamberlyn");
    RegistryValueGuard execPath{HKEY_CURRENT_USER, kApplicationKey, "ExecPath"};
    RegistryValueGuard first{HKEY_CURRENT_USER, kApplicationKey, "first"};

    void SetUp() override
    {
        installState = InstallState{};
        testPackage = Package{};
    }
    ~ApplicationKeyTest() override
    {
        if (!vendorExisted)
            DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Tamberlyn");
    }
};

TEST_F(ApplicationKeyTest, ExecPathIsTheWholeFieldWithZerosAfterTheText)
{
    CopyText(installState.installDir, "C:\\A rather long earlier destination folder\\Puzzle\\");
    WriteApplicationKey();
    // A shorter folder written over the longer one leaves the old tail in the field itself.
    const char shorter[] = "C:\\Apps\\P\\";
    CopyMemory(installState.installDir, shorter, sizeof shorter);
    WriteApplicationKey();

    RegistryValue value = ReadRegistryValue(HKEY_CURRENT_USER, kApplicationKey, "ExecPath");
    ASSERT_TRUE(value.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    ASSERT_EQ(260u, value.data.size());
    EXPECT_EQ(shorter, value.text());
    for (size_t i = sizeof shorter - 1; i < value.data.size(); ++i)
        ASSERT_EQ(0, value.data[i]) << "byte " << i << " after the text";

    RegistryValue flag = ReadRegistryValue(HKEY_CURRENT_USER, kApplicationKey, "first");
    ASSERT_TRUE(flag.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), flag.type);
    ASSERT_EQ(4u, flag.data.size());
    EXPECT_EQ(1u, *reinterpret_cast<const DWORD*>(flag.data.data()));
}

class KeyTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveLink(Scratch("A\\Y"));
        DeleteRegistryTree(HKEY_CURRENT_USER, kScratch);
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, Scratch("Beside").c_str(), "Keep", "yes"));
    }
    void TearDown() override
    {
        RemoveLink(Scratch("A\\Y"));
        EXPECT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, kScratch));
    }

    // A registry link whose target does not exist: it can be neither opened nor deleted by
    // name, so it survives its own deletion.
    static bool MakeDanglingLink(const std::string& subKey)
    {
        HKEY link;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS,
                            nullptr, &link, nullptr) != ERROR_SUCCESS)
            return false;
        const wchar_t target[] = L"\\Registry\\User\\TinySetupTestNowhere\\Missing";
        LONG result = RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target),
                                     sizeof target - sizeof(wchar_t));
        RegCloseKey(link);
        return result == ERROR_SUCCESS;
    }
    static void RemoveLink(const std::string& subKey)
    {
        typedef LONG(WINAPI * DeleteKeyFunction)(HANDLE);
        auto deleteKey = reinterpret_cast<DeleteKeyFunction>(
            reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
        HKEY link;
        if (deleteKey && RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), REG_OPTION_OPEN_LINK, DELETE, &link) == ERROR_SUCCESS) {
            deleteKey(link);
            RegCloseKey(link);
        }
    }
};

TEST_F(KeyTreeTest, DeletesANestedTreeAndNothingBesideIt)
{
    for (const char* key : {"A\\B\\B1", "A\\B\\B2\\B21", "A\\B\\B2\\B22", "A\\C", "A\\D\\E\\F\\G"})
        ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Scratch(key)));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, Scratch("A\\B\\B2").c_str(), "v", "x"));

    DeleteKeyTree(HKEY_CURRENT_USER, Scratch("A").c_str());
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, Scratch("A").c_str()));
    EXPECT_EQ("yes", ReadRegistryValue(HKEY_CURRENT_USER, Scratch("Beside").c_str(), "Keep").text());
}

DWORD WINAPI DeleteTreeA(void*)
{
    DeleteKeyTree(HKEY_CURRENT_USER, Scratch("A").c_str());
    return 0;
}

TEST_F(KeyTreeTest, PassesOverASubKeyThatSurvivesAndEnds)
{
    for (const char* key : {"A\\X\\X1", "A\\Z"})
        ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Scratch(key)));
    ASSERT_TRUE(MakeDanglingLink(Scratch("A\\Y")));

    // On a thread of its own, so that a walk that never ends fails the test instead of hanging it.
    HANDLE worker = CreateThread(nullptr, 0, DeleteTreeA, nullptr, 0, nullptr);
    ASSERT_NE(nullptr, worker);
    DWORD waited = WaitForSingleObject(worker, 10000);
    CloseHandle(worker);
    ASSERT_EQ(WAIT_OBJECT_0, waited) << "the deletion did not end";

    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, Scratch("A\\X").c_str()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, Scratch("A\\Z").c_str()));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, Scratch("A").c_str())) << "a key with a sub key cannot go";
    HKEY a;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, Scratch("A").c_str(), 0, KEY_READ, &a));
    char name[256];
    EXPECT_EQ(ERROR_SUCCESS, RegEnumKeyA(a, 0, name, sizeof name));
    EXPECT_STREQ("Y", name);
    EXPECT_NE(ERROR_SUCCESS, RegEnumKeyA(a, 1, name, sizeof name));
    RegCloseKey(a);
}

TEST_F(KeyTreeTest, MissingPathDoesNothing)
{
    DeleteKeyTree(HKEY_CURRENT_USER, Scratch("Missing\\Deeper").c_str());
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, Scratch("Missing").c_str()));
    EXPECT_EQ("yes", ReadRegistryValue(HKEY_CURRENT_USER, Scratch("Beside").c_str(), "Keep").text());
}

TEST_F(KeyTreeTest, EmptySubKeyIsRefused)
{
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, Scratch("Root\\Child\\Grandchild")));
    HKEY root;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, Scratch("Root").c_str(), 0, KEY_ALL_ACCESS, &root));
    DeleteKeyTree(root, "");
    RegCloseKey(root);
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, Scratch("Root\\Child\\Grandchild").c_str()));
    EXPECT_EQ("yes", ReadRegistryValue(HKEY_CURRENT_USER, Scratch("Beside").c_str(), "Keep").text());
}

}  // namespace
