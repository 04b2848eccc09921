// What an install did not make stays whole through its install and uninstall, driven through
// the real windows: the user's folder typed as the destination, a file of the user's hard-linked
// into it, a file of the system folder reached through the Windows folder's macro, a user's
// document that ".." leads to, a device name, another product's entry and installation, and a
// registration the system refuses.
#include <windows.h>

#include "lifecycle_driver.h"
#include "messages_package.h"
#include "support/expected_messages.h"

namespace {

std::string English(int id, const std::vector<std::string>& arguments = {})
{
    return ExpectedText(id, MessageLanguage::English, arguments);
}

class Untouched : public AcceptancePackage {
public:
    Untouched() : AcceptancePackage(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    std::string Inf(const std::string& entries, const std::string& title = "Kite Tools") const
    {
        return "[Install]\r\nTitle=" + title + "\r\nFolder=Kite\r\nInstallKey=" + key + "\r\n" + entries;
    }
};

TEST_F(Untouched, TheUsersFolderLinkedFileSystemFileAndDocumentStayWhole)
{
    const std::string tools = root / "Tools\\";
    const std::string movie(5 * 1024 * 1024, 'm');
    const std::string systemFile = SystemFolder() + "\\kiteshared-untouched.dll";
    for (const char* file : {"putty.exe", "todo.txt", "sub\\keep.txt"})
        ASSERT_TRUE(WriteFileBytes(tools + file, "the user's"));
    ASSERT_TRUE(WriteFileBytes(root / "thesis.doc", "the user's thesis"));
    ASSERT_TRUE(WriteFileBytes(root / "movie.bin", movie));
    ASSERT_TRUE(WriteFileBytes(systemFile, "another program's older dll"));
    WritePackage(Inf("1=kite.exe\r\n2=big.bin\r\n3=kite.dll,w!system32\\kiteshared-untouched.dll\r\n"
                     "4=kite.exe,..\\thesis.doc\r\n5=kite.exe,aux.txt\r\n"));
    for (const char* file : {"kite.exe", "big.bin", "kite.dll"})
        ASSERT_TRUE(WriteFileBytes(pkg + file, "the package's"));

    WizardRun install = InstallThroughWizard(run, pkg + "SETUP.EXE", {}, "", tools);
    ASSERT_EQ("", install.failure);
    ASSERT_EQ(3u, install.unexpectedBoxes.size());
    EXPECT_NE(std::string::npos, install.unexpectedBoxes[0].find(English(41, {tools}))) << "the folder holds files";
    EXPECT_NE(std::string::npos, install.unexpectedBoxes[1].find(English(21, {root / "Tools\\..\\thesis.doc"})));
    EXPECT_NE(std::string::npos, install.unexpectedBoxes[2].find(English(21, {"kite.exe"}))) << "aux.txt";
    EXPECT_EQ(English(40), install.completion.text);
    EXPECT_EQ("the user's thesis", ReadFileBytes(root / "thesis.doc"));

    // A backup tool links the user's movie into the install folder.
    ASSERT_TRUE(DeleteFileA((tools + "big.bin").c_str()));
    ASSERT_TRUE(CreateHardLinkA((tools + "big.bin").c_str(), (root / "movie.bin").c_str(), nullptr));
    ProgramRun request;
    UninstallRun removal = UninstallWithR(request, tools + "SETUP.EXE", {});
    ASSERT_EQ("", removal.failure);
    EXPECT_TRUE(removal.unexpectedBoxes.empty()) << removal.unexpectedBoxes[0];

    for (const char* file : {"kite.exe", "big.bin", "SETUP.EXE", "SETUP.INF"})
        EXPECT_FALSE(FileExists(tools + file)) << file;
    for (const char* file : {"putty.exe", "todo.txt", "sub\\keep.txt"})
        EXPECT_EQ("the user's", ReadFileBytes(tools + file)) << file;
    EXPECT_TRUE(ReadFileBytes(root / "movie.bin") == movie) << "the linked movie was changed";
    EXPECT_EQ("the package's", ReadFileBytes(systemFile)) << "a system-folder file stays";
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, EntryKey().c_str()));
    DeleteFileA(systemFile.c_str());
}

TEST_F(Untouched, AnotherProductsEntryAndInstallationAreNotTakenOver)
{
    // An entry of the package's key that another product made: no title, its own uninstaller.
    const std::string otherCommand = "\"" + (root / "Other\\uninst.exe") + "\"";
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, EntryKey().c_str(), "UninstallString", otherCommand));
    WritePackage(Inf("1=kite.exe\r\n"));
    ASSERT_TRUE(WriteFileBytes(pkg + "kite.exe", "the package's"));
    ASSERT_TRUE(run.Start(pkg + "SETUP.EXE", "/go"));
    EXPECT_EQ(English(2, {key}), AnswerMessageBox(run.processId, IDOK).text);
    EXPECT_EQ(1, run.WaitExit());
    EXPECT_EQ(otherCommand, ReadRegistryValue(HKEY_LOCAL_MACHINE, EntryKey().c_str(), "UninstallString").text());

    // Package A installed where this package would go: its entry names the folder.
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, EntryKey().c_str());
    const std::string kiteA = root / "KiteA\\";
    const std::string entryA = std::string(kUninstallKey) + "\\TinySetupAccKiteA";
    const std::string setupFileA = "[Install]\r\nTitle=Kite A\r\nFolder=KiteA\r\nInstallKey=TinySetupAccKiteA\r\n";
    ASSERT_TRUE(CopyProgram(kiteA + "SETUP.EXE"));
    ASSERT_TRUE(WriteFileBytes(kiteA + "SETUP.INF", setupFileA));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, entryA.c_str(), "DisplayName", "Kite A"));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, entryA.c_str(), "UninstallString", "\"" + kiteA + "SETUP.EXE\" /r"));
    WizardRun install = InstallThroughWizard(run, pkg + "SETUP.EXE", {}, "", kiteA);
    EXPECT_NE(std::string::npos, install.failure.find(English(42, {kiteA, "Kite A"}))) << install.failure;
    EXPECT_EQ(setupFileA, ReadFileBytes(kiteA + "SETUP.INF"));

    // An entry of another key that names A's copy too: A's "/r" removes nothing.
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, EntryKey().c_str(), "UninstallString", "\"" + kiteA + "SETUP.EXE\" /r"));
    ProgramRun request;
    ASSERT_TRUE(request.Start(kiteA + "SETUP.EXE", "/r"));
    AnswerMessageBox(request.processId, IDOK);
    AnswerMessageBox(request.processId, IDOK);
    EXPECT_EQ(English(39, {kiteA + "SETUP.EXE", "Kite A"}), AnswerMessageBox(request.processId, IDOK).text);
    request.WaitExit();
    EXPECT_TRUE(FileExists(kiteA + "SETUP.EXE"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, entryA.c_str()));
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, entryA.c_str());
}

TEST_F(Untouched, ARegistrationThatCannotBeWrittenIsNotCalledSuccess)
{
    // Below a volatile key the system makes no lasting key: the application key fails.
    DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Tamberlyn");
    HKEY volatileKey;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tamberlyn", 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr));
    RegCloseKey(volatileKey);
    WritePackage(Inf("1=kite.exe\r\n"));
    ASSERT_TRUE(WriteFileBytes(pkg + "kite.exe", "the package's"));

    WizardRun install = InstallThroughWizard(run, pkg + "SETUP.EXE", {}, "", root / "Kite\\");
    ASSERT_EQ("", install.failure);
    ASSERT_EQ(1u, install.unexpectedBoxes.size());
    EXPECT_NE(std::string::npos, install.unexpectedBoxes[0].find(English(40))) << install.unexpectedBoxes[0];
    EXPECT_EQ(English(40), install.completion.text);
    DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Tamberlyn");
}

}  // namespace
