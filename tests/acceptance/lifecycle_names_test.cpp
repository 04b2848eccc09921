// A package whose folder, file, shortcut and key names are Japanese, installed through the
// wizard in code page 932 and uninstalled with "/r". Several names begin or end with a
// double-byte character whose second byte is "\" (0x5C): "表" (0x95 0x5C) and "ソ" (0x83 0x5C).
// A place that takes a path apart, joins two parts or strips a trailing separator byte by byte
// shows here as a missing, misnamed or left-over file, shortcut or key. Drive C: and the
// registry are compared before and after, and the user's own files and key beside the
// installation must come through unchanged.
#include <windows.h>
#include <shlobj.h>

#include <set>
#include <string>
#include <vector>

#include "e2e/language.h"
#include "lifecycle_driver.h"
#include "lifecycle_snapshot.h"
#include "support/expected_messages.h"
#include "shell/link_reader.h"
#include "support/end_to_end_test.h"
#include "uninstall/pending_renames.h"

namespace {

// Names in Shift-JIS, written as escaped bytes (this source is read as UTF-8).
#define JA_HYOU "\x95\x5c"                              // 表
#define JA_COMPANY JA_HYOU "\x8e\xa6\x89\xef\x8e\xd0"   // 表示会社
#define JA_PRODUCT "\x8c\x76\x8e\x5a" JA_HYOU           // 計算表
#define JA_TITLE JA_PRODUCT "\x83\x5c\x83\x74\x83\x67"  // 計算表ソフト
#define JA_SOURCES "\x83\x5c\x81\x5b\x83\x58" JA_HYOU   // ソース表

const char kTitle[] = JA_TITLE;
const char kCompany[] = JA_COMPANY;
const char kProduct[] = JA_PRODUCT;
const char kMainFile[] = JA_HYOU "\x8c\x76\x8e\x5a.TXT";                  // 表計算.TXT
const char kSourcesFolder[] = JA_SOURCES;                                 // ソース表
const char kDataFile[] = JA_SOURCES "\\" JA_HYOU ".DAT";                  // ソース表\表.DAT
const char kUninstallName[] = JA_TITLE "\x82\xcc\x8d\xed\x8f\x9c";        // 計算表ソフトの削除
const char kUserNote[] = "\x97\x98\x97\x70\x8e\xd2\x82\xcc\x83\x81\x83\x82.TXT";  // 利用者のメモ.TXT
const char kAppKey[] = "Software\\TinySetupTest\\" JA_PRODUCT;  // named in "Reg"
const char kUserKey[] = "Software\\TinySetupTest\\\x8c\x76\x8e\x5a";  // 計算: the user's, beside it
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kApplicationKey[] = "Software\\Tamberlyn\\tq";
const char kDllOverridesKey[] = "Software\\Wine\\DllOverrides";

std::string U(const std::string& ansi) { return Utf8FromAnsi(ansi, 932); }

// Message id of the Japanese table with its "%s" replaced by argument (UTF-8).
std::string Message(int id, const std::string& argument = "")
{
    return ExpectedText(id, MessageLanguage::Japanese, {argument});
}

// The paths a snapshot difference adds ("+ " lines, without a file's size and time), and every
// other line (removed or changed entries) in others.
std::set<std::string> AddedPaths(const std::vector<std::string>& differences, std::vector<std::string>* others)
{
    std::set<std::string> added;
    for (const std::string& line : differences) {
        if (line.compare(0, 2, "+ ") != 0) {
            others->push_back(line);
            continue;
        }
        std::string path = line.substr(2);
        if (path.back() != '\\') {
            for (int field = 0; field < 2; ++field)
                path.erase(path.rfind(' '));
        }
        added.insert(path);
    }
    return added;
}

std::string Listed(const std::set<std::string>& paths)
{
    std::string text;
    for (const std::string& path : paths)
        text += "\n  " + path;
    return text;
}

class LANGUAGE_SUITE(LifecycleNames) : public EndToEndTest {
protected:
    LANGUAGE_SUITE(LifecycleNames)()
        : packageRoot("lifecycle-names"),
          scratch("lifecycle-names-scratch"),
          package(packageRoot / "pkg\\"),
          programFiles(ReadRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                                         "ProgramFilesDir")
                           .text()),
          programs(ShellFolder("Programs")),
          startMenu(ShellFolder("Start Menu")),
          desktop(ShellFolder("Desktop")),
          companyDir(programFiles + "\\" + kCompany),
          installDir(companyDir + "\\" + kProduct + "\\"),
          menuParent(programs + "\\" + kCompany),
          menuDir(menuParent + "\\" + kProduct),
          desktopLink(desktop + "\\" + kTitle + ".lnk"),
          userNote(menuParent + "\\" + kUserNote),
          userDesktopFile(desktop + "\\" + kTitle + ".TXT"),
          workerCopy(SystemFolder() + "\\SETUP.EXE")
    {
    }

    void SetUp() override
    {
        ASSERT_EQ(932u, GetACP()) << "the suite runs in the Japanese code page";
        ASSERT_FALSE(programFiles.empty() || programs.empty() || desktop.empty()) << "shell folders of the prefix";
        RemoveLeftovers();
    }

    void TearDown() override
    {
        EndToEndTest::TearDown();
        RemoveLeftovers();
        WaitUntil([&] { return DeleteFileA(workerCopy.c_str()) || !FileExists(workerCopy); }, 5000);
    }

    // What an earlier, interrupted run may have left, and this run's sentinels.
    void RemoveLeftovers()
    {
        RemoveTree(companyDir);
        RemoveTree(menuParent);
        DeleteFileA(desktopLink.c_str());
        DeleteFileA(userDesktopFile.c_str());
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + kProduct).c_str());
        DeleteRegistryTree(HKEY_CURRENT_USER, kAppKey);
        DeleteRegistryTree(HKEY_CURRENT_USER, kUserKey);
        DeleteFileA(workerCopy.c_str());
    }

    // Drive C: without the places that change by themselves (see lifecycle_test.cpp).
    Snapshot Files()
    {
        return SnapshotFiles("C:\\", {TempPath(), "C:\\windows\\temp\\", scratch.path(), TemplatesFolder()});
    }

    Snapshot Registry()
    {
        return SnapshotRegistry({"HKEY_LOCAL_MACHINE\\Software", "HKEY_CURRENT_USER"},
                                {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                 "HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters"},
                                scratch.path());
    }

    TempFolder packageRoot, scratch;
    std::string package, programFiles, programs, startMenu, desktop, companyDir, installDir, menuParent, menuDir,
        desktopLink, userNote, userDesktopFile, workerCopy;
};

LANGUAGE_TEST_F(LifecycleNames, BackslashTrailBytesInFolderFileAndShortcutNames)
{
    // The package: "表計算.TXT" and "ソース表\表.DAT"; folder and menu "表示会社\計算表", whose last
    // byte is 0x5C; the uninstall key is named after the folder's last part, "計算表".
    ASSERT_TRUE(CopyProgram(package + "SETUP.EXE"));
    std::string inf = std::string("[Install]\r\nTitle=") + kTitle + "\r\nFolder=" + kCompany + "\\" + kProduct +
                      "\r\nMenu=" + kCompany + "\\" + kProduct + "\r\n1=" + kMainFile + "\r\n2=" + kDataFile +
                      "\r\n[Group]\r\n1=" + kTitle + "," + kMainFile + "\r\n2=" + kSourcesFolder + "," + kDataFile +
                      "\r\n3=" + kUninstallName + ",SETUP.EXE,/r\r\n[Reg]\r\n1=HKEY_CURRENT_USER\\" + kAppKey + "\r\n";
    ASSERT_TRUE(WriteFileBytes(package + "SETUP.INF", inf));
    ASSERT_TRUE(WriteFileBytes(package + kMainFile, "main file"));
    ASSERT_TRUE(WriteFileBytes(package + kDataFile, "data file"));
    ASSERT_TRUE(FolderExists(package + kSourcesFolder));

    // The user's own things beside the installation: a note in the program-menu folder above the
    // package's, a file on the desktop named like the desktop shortcut, and a key beside the
    // "Reg" key whose name is that key's name without its last character.
    ASSERT_TRUE(WriteFileBytes(userNote, "the user's note"));
    ASSERT_TRUE(WriteFileBytes(userDesktopFile, "the user's file"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kUserKey, "value", "the user's"));

    RegistryValueGuard menuBuilder(HKEY_CURRENT_USER, kDllOverridesKey, "winemenubuilder.exe");
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kDllOverridesKey, "winemenubuilder.exe", ""));
    bool tamberlynExisted = RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Tamberlyn");
    bool applicationKeyExisted = RegistryKeyExists(HKEY_CURRENT_USER, kApplicationKey);

    Snapshot filesBefore = Files();
    Snapshot registryBefore = Registry();
    ASSERT_EQ("", filesBefore.failure);
    ASSERT_EQ("", registryBefore.failure);
    {
        PendingRenamesGuard pendingRenames;
        RegistryValueGuard execPath(HKEY_CURRENT_USER, kApplicationKey, "ExecPath");
        RegistryValueGuard first(HKEY_CURRENT_USER, kApplicationKey, "first");

        ProgramRun install;
        WizardRun installed = InstallThroughWizard(install, package + "SETUP.EXE", ShotFunction());
        for (DWORD id : ProcessesStartedBy(install.processId))
            EndProcessTree(id);  // the shell's attempt at "launch.exe"
        ASSERT_EQ("", installed.failure);
        EXPECT_EQ(U(installDir), installed.folderShown);
        EXPECT_EQ(U(menuDir.substr(startMenu.size() + 1)), installed.menuShown);
        EXPECT_EQ(Message(8, U(kTitle)), installed.caption);
        EXPECT_EQ(std::vector<std::string>(), installed.unexpectedBoxes);
        EXPECT_EQ(Message(22), installed.statusShown);
        EXPECT_EQ(Message(9, U(kUninstallName)), installed.hintShown);
        EXPECT_EQ(Message(35), installed.completion.text);
        EXPECT_EQ(1, installed.exitCode);

        // Exactly the package's folders, files and shortcuts were added, under their names.
        std::vector<std::string> others;
        std::set<std::string> added = AddedPaths(SnapshotDifferences(filesBefore, Files()), &others);
        std::set<std::string> expected = {
            U(companyDir + "\\"),
            U(installDir),
            U(installDir + "SETUP.EXE"),
            U(installDir + "SETUP.INF"),
            U(installDir + "SETUP.REC"),
            U(installDir + kMainFile),
            U(installDir + kSourcesFolder + "\\"),
            U(installDir + kDataFile),
            U(menuDir + "\\"),
            U(menuDir + "\\" + kTitle + ".lnk"),
            U(menuDir + "\\" + kSourcesFolder + ".lnk"),
            U(menuDir + "\\" + kUninstallName + ".lnk"),
            U(desktopLink),
        };
        EXPECT_EQ(Listed(expected), Listed(added)) << "the files and folders the install added";
        EXPECT_EQ(std::vector<std::string>(), others) << "files the install removed or changed";
        EXPECT_EQ("main file", ReadFileBytes(installDir + kMainFile));
        EXPECT_EQ("data file", ReadFileBytes(installDir + kDataFile));
        EXPECT_EQ(inf, ReadFileBytes(installDir + "SETUP.INF"));

        struct ExpectedLink {
            std::string file, target, arguments, description;
        };
        const ExpectedLink links[] = {
            {menuDir + "\\" + kTitle + ".lnk", installDir + kMainFile, "", kTitle},
            {menuDir + "\\" + kSourcesFolder + ".lnk", installDir + kDataFile, "", kSourcesFolder},
            {menuDir + "\\" + kUninstallName + ".lnk", installDir + "SETUP.EXE", "/r", kUninstallName},
            {desktopLink, installDir + kMainFile, "", kTitle},
        };
        for (const ExpectedLink& link : links) {
            LinkFields fields = ReadLinkWithLnkinfo(U(link.file), scratch.path());
            EXPECT_TRUE(fields.read) << U(link.file);
            EXPECT_EQ(U(link.target), fields.path) << U(link.file) << ": " << Describe(fields);
            EXPECT_EQ(link.arguments, fields.arguments) << U(link.file) << ": " << Describe(fields);
            EXPECT_EQ(U(link.description), fields.description) << U(link.file) << ": " << Describe(fields);
        }

        std::string entry = std::string(kUninstallKey) + kProduct;
        EXPECT_EQ(U(kTitle), U(ReadRegistryValue(HKEY_LOCAL_MACHINE, entry.c_str(), "DisplayName").text()));
        EXPECT_EQ(U("\"" + installDir + "SETUP.EXE\" /r"),
                  U(ReadRegistryValue(HKEY_LOCAL_MACHINE, entry.c_str(), "UninstallString").text()));
        EXPECT_EQ(U(menuDir), U(ReadRegistryValue(HKEY_LOCAL_MACHINE, entry.c_str(), "MenuDir").text()));
        EXPECT_EQ(U(installDir), U(ReadRegistryValue(HKEY_CURRENT_USER, kApplicationKey, "ExecPath").text()));

        // The application keeps its settings under the key the package names for removal.
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, (std::string(kAppKey) + "\\" + kSourcesFolder).c_str(),
                                      "last", kMainFile));

        ProgramRun request;
        UninstallRun uninstalled = UninstallWithR(request, installDir + "SETUP.EXE", ShotFunction());
        ASSERT_EQ("", uninstalled.failure);
        EXPECT_EQ("ゲームを削除します。\nよろしいですか？", uninstalled.question.text);
        EXPECT_EQ(Message(32, U(kTitle)), uninstalled.confirmation.text);
        EXPECT_EQ(Message(29, U(kTitle)), uninstalled.dialogCaption);
        EXPECT_EQ(Message(30, U(kTitle)), uninstalled.statusShown);
        EXPECT_EQ(std::vector<std::string>(), uninstalled.unexpectedBoxes);
        EXPECT_EQ(1, uninstalled.workerExit);

        EXPECT_FALSE(FolderExists(companyDir)) << "the folder the package's \"Folder\" made above";
        EXPECT_FALSE(FolderExists(menuDir));
        EXPECT_FALSE(FileExists(desktopLink));
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kAppKey));
        EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, entry.c_str()));
        EXPECT_EQ("the user's note", ReadFileBytes(userNote));
        EXPECT_EQ("the user's file", ReadFileBytes(userDesktopFile));
        EXPECT_EQ("the user's", ReadRegistryValue(HKEY_CURRENT_USER, kUserKey, "value").text());

        // Left on purpose, and put back here: the worker copy and the application key.
        EXPECT_TRUE(WaitUntil([&] { return DeleteFileA(workerCopy.c_str()) != 0; })) << "the worker copy let go";
        if (!applicationKeyExisted)
            DeleteRegistryTree(HKEY_CURRENT_USER, kApplicationKey);
    }
    if (!tamberlynExisted)
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tamberlyn");

    Snapshot filesAfter = Files();
    Snapshot registryAfter = Registry();
    ASSERT_EQ("", filesAfter.failure);
    ASSERT_EQ("", registryAfter.failure);
    EXPECT_EQ("", DescribeDifferences(SnapshotDifferences(filesBefore, filesAfter)))
        << "files and folders that differ after the uninstall (- before only, + after only)";
    EXPECT_EQ("", DescribeDifferences(SnapshotDifferences(registryBefore, registryAfter)))
        << "registry lines that differ after the uninstall (- before only, + after only)";
}

}  // namespace
