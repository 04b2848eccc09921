// The whole life of the sample package in one prefix, in the suite's language: install it
// through the wizard, use it, reinstall it from an updated package, uninstall it with "/r", and
// compare drive C: and the registry before and after with tools that are not the program's own
// (a file listing, Wine's regedit, lnkinfo, the application itself).
#include <windows.h>
#include <shlobj.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/language.h"
#include "lifecycle_driver.h"
#include "lifecycle_snapshot.h"
#include "shell/link_reader.h"
#include "support/end_to_end_test.h"
#include "uninstall/pending_renames.h"

namespace {

const char kTitle[] = "Pondway Puzzle";
const char kUninstallEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PondwayPuzzle";
// The uninstall entry in regedit's export, which shows the native view. A 64-bit edition's
// entry is there; a 32-bit edition's lies in the 32-bit view, which Wine keeps at the same
// place for this key and Windows below Wow6432Node.
#ifdef _WIN64
const std::vector<std::string> kUninstallEntryExported = {
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PondwayPuzzle]"};
#else
const std::vector<std::string> kUninstallEntryExported = {
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PondwayPuzzle]",
    "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PondwayPuzzle]"};
#endif
const char kApplicationKey[] = "Software\\Tamberlyn\\tq";
const char kPuzzleKey[] = "Software\\Tamberlyn\\Puzzle";
const char kDllOverridesKey[] = "Software\\Wine\\DllOverrides";
const char kPackageFiles[][24] = {"SETUP.EXE", "SETUP.INF", "PUZZLE.EXE", "README.TXT", "data\\level1.dat",
                                  "data\\level2.dat"};

#if defined(TEST_LANGUAGE_JAPANESE)
#define LANGUAGE_TAG "ja"
#elif defined(TEST_LANGUAGE_CHINESE)
#define LANGUAGE_TAG "zh"
#else
#define LANGUAGE_TAG "en"
#endif

// Message id of the suite's language with its "%s" replaced by argument.
std::string Message(int id, const std::string& argument = "")
{
    return SuiteMessage(id, {argument});
}

// The keys the install may add: its uninstall entry and the application key.
std::vector<std::string> InstallKeyPlaces()
{
    std::vector<std::string> places = kUninstallEntryExported;
    places.push_back("[HKEY_CURRENT_USER\\Software\\Tamberlyn]");
    places.push_back("[HKEY_CURRENT_USER\\Software\\Tamberlyn\\tq]");
    return places;
}

// Copies a folder with its sub folders; false at the first failure.
bool CopyTree(const std::string& from, const std::string& to)
{
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = ok && CopyTree(from + name + "\\", to + name + "\\");
        else
            ok = ok && CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

// The difference lines that are not additions below one of the allowed prefixes.
std::vector<std::string> UnexpectedChanges(const std::vector<std::string>& differences,
                                           const std::vector<std::string>& allowed)
{
    std::vector<std::string> unexpected;
    for (const std::string& line : differences) {
        bool fits = false;
        for (const std::string& prefix : allowed)
            fits = fits || (line.size() >= prefix.size() + 2 && line.compare(0, 2, "+ ") == 0 &&
                            lstrcmpiA(line.substr(2, prefix.size()).c_str(), prefix.c_str()) == 0);
        if (!fits)
            unexpected.push_back(line);
    }
    return unexpected;
}

// Removes what an earlier, interrupted run of this test may have left, so that this run starts
// from a prefix without the package.
void RemoveLeftovers(const std::string& programFiles, const std::string& programs, const std::string& desktop)
{
    RemoveTree(programFiles + "\\Pondway");
    RemoveTree(programs + "\\Pondway");
    DeleteFileA((desktop + "\\Pondway Puzzle.lnk").c_str());
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kUninstallEntry);
    DeleteRegistryTree(HKEY_CURRENT_USER, kPuzzleKey);
    DeleteFileA((SystemFolder() + "\\SETUP.EXE").c_str());
}

// The ".txt" extension associated with "txtfile" in the machine's classes (the 64-bit view, which
// the shell of either kind of program reads) for the scope; removed again when it was absent.
class TextFileType {
public:
    TextFileType()
    {
        HKEY key;
        existed_ = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTxtKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS;
        if (existed_) {
            RegCloseKey(key);
            set = true;
            return;
        }
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTxtKey, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        set = RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>("txtfile"), 8) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    ~TextFileType()
    {
        if (!existed_)
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kTxtKey, KEY_WOW64_64KEY, 0);
    }
    TextFileType(const TextFileType&) = delete;
    TextFileType& operator=(const TextFileType&) = delete;
    bool set = false;

private:
    static constexpr const char* kTxtKey = "Software\\Classes\\.txt";
    bool existed_ = false;
};

class LANGUAGE_SUITE(Lifecycle) : public EndToEndTest {
protected:
    LANGUAGE_SUITE(Lifecycle)()
        : packageRoot("lifecycle-" LANGUAGE_TAG),
          scratch("lifecycle-scratch-" LANGUAGE_TAG),
          package(packageRoot / "Pondway-Sample\\"),
          updatedPackage(packageRoot / "Pondway-Sample-2\\"),
          programFiles(ReadRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                                         "ProgramFilesDir")
                           .text()),
          programs(ShellFolder("Programs")),
          startMenu(ShellFolder("Start Menu")),
          desktop(ShellFolder("Desktop")),
          installDir(programFiles + "\\Pondway\\Puzzle\\"),
          menuDir(programs + "\\Pondway\\Puzzle"),
          desktopLink(desktop + "\\Pondway Puzzle.lnk"),
          workerCopy(SystemFolder() + "\\SETUP.EXE")
    {
    }

    void SetUp() override
    {
        ASSERT_FALSE(programFiles.empty() || programs.empty() || desktop.empty()) << "shell folders of the prefix";
        RemoveLeftovers(programFiles, programs, desktop);
    }

    void TearDown() override
    {
        EndToEndTest::TearDown();
        for (DWORD id : ProcessesNamed("notepad.exe")) {
            bool old = false;
            for (DWORD known : notepadsAtStart)
                old = old || known == id;
            if (!old)
                EndProcessTree(id);
        }
        RemoveLeftovers(programFiles, programs, desktop);
        WaitUntil([&] { return DeleteFileA(workerCopy.c_str()) || !FileExists(workerCopy); }, 5000);
    }

    // Drive C: without the places that change by themselves: the users' and Windows' Temp
    // folders (Wine and the shell put scratch files there), this test's own scratch folder
    // (regedit's exports, lnkinfo's output), and the Templates folder, which a new prefix links
    // to the Linux home folder, where other programs come and go.
    Snapshot Files()
    {
        return SnapshotFiles("C:\\", {TempPath(), "C:\\windows\\temp\\", scratch.path(), TemplatesFolder()});
    }

    // The registry without what Wine itself rewrites: "Shell Folders" is refilled from "User
    // Shell Folders" whenever the shell looks a folder up, and "Temporary System Parameters"
    // holds the session's settings (the mouse's, once a window has been shown). regedit runs as
    // a 64-bit program and sees both views of the 32-bit program's keys.
    Snapshot Registry()
    {
        return SnapshotRegistry({"HKEY_LOCAL_MACHINE\\Software", "HKEY_LOCAL_MACHINE\\System", "HKEY_CURRENT_USER"},
                                {"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                 "HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters"},
                                scratch.path());
    }

    // After a completed install the program has the shell open README.TXT (and try
    // "launch.exe" beside the installer, which the package lacks): Notepad shows it and is
    // ended again, so that the prefix is compared without it.
    void ExpectReadmeOpenedAndClose(const ProgramRun& installer, const std::vector<DWORD>& notepadsBefore,
                                    const char* when)
    {
        HWND window = nullptr;
        DWORD notepad = WaitForNewProcessWindow("notepad.exe", notepadsBefore, "README", &window);
        EXPECT_NE(0u, notepad) << "README.TXT not opened in Notepad after the " << when;
        for (DWORD id : ProcessesStartedBy(installer.processId))
            EndProcessTree(id);
        if (notepad != 0) {
            EXPECT_TRUE(EndProcessTree(notepad));
        }
    }

    void ExpectWizardRun(const WizardRun& run, const char* when)
    {
        EXPECT_EQ("", run.failure) << when;
        EXPECT_EQ(Message(8, kTitle), run.caption) << when;
        EXPECT_TRUE(run.menuBoxChecked) << when;
        EXPECT_FALSE(run.desktopBoxChecked) << when;
        EXPECT_EQ(Message(22), run.statusShown) << when;
        EXPECT_EQ(Message(9, "Uninstall Pondway Puzzle"), run.hintShown) << when;
        EXPECT_EQ(std::vector<std::string>(), run.unexpectedBoxes) << when;
        EXPECT_EQ(Message(35), run.completion.text) << when;
        EXPECT_EQ(kTitle, run.completion.caption) << when;
        EXPECT_EQ(1, run.exitCode) << when;
    }

    // What the installation put on disk and in the registry, read back from outside.
    void ExpectInstalledFrom(const std::string& source)
    {
        for (const char* file : kPackageFiles)
            EXPECT_EQ(ReadFileBytes(source + file), ReadFileBytes(installDir + file)) << file;

        struct ExpectedLink {
            std::string file, target, arguments, description;
        };
        const ExpectedLink links[] = {
            {menuDir + "\\Pondway Puzzle.lnk", installDir + "PUZZLE.EXE", "", "Pondway Puzzle"},
            {menuDir + "\\Read me.lnk", installDir + "README.TXT", "", "Read me"},
            {menuDir + "\\Uninstall Pondway Puzzle.lnk", installDir + "SETUP.EXE", "/r", "Uninstall Pondway Puzzle"},
            {desktopLink, installDir + "PUZZLE.EXE", "", "Pondway Puzzle"},
        };
        for (const ExpectedLink& link : links) {
            LinkFields fields = ReadLinkWithLnkinfo(link.file, scratch.path());
            EXPECT_TRUE(fields.read) << link.file;
            EXPECT_EQ(link.target, fields.path) << link.file << ": " << Describe(fields);
            EXPECT_EQ(link.arguments, fields.arguments) << link.file << ": " << Describe(fields);
            EXPECT_EQ(link.description, fields.description) << link.file << ": " << Describe(fields);
        }

        struct ExpectedValue {
            HKEY root;
            const char* key;
            const char* name;
            DWORD type;
            std::string data;  // the stored bytes
        };
        // The program stores "ExecPath" with its 260-byte buffer; Windows 95 stores a string
        // only up to its terminator, whatever length it is given. LIFECYCLE_REPORTED_WINDOWS
        // names the version Wine reports to the program, when a run chooses one.
        std::string execPath = installDir;
        const char* reported = getenv("LIFECYCLE_REPORTED_WINDOWS");
        execPath.resize(reported != nullptr && strcmp(reported, "win95") == 0 ? execPath.size() + 1 : 260, '\0');
        DWORD size = 0;  // of the files the install copied, in KiB rounded up
        for (const char* file : kPackageFiles)
            size += static_cast<DWORD>(ReadFileBytes(source + file).size());
        size = (size + 1023) / 1024;
        const ExpectedValue values[] = {
            {HKEY_LOCAL_MACHINE, kUninstallEntry, "DisplayName", REG_SZ, std::string(kTitle) + '\0'},
            {HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString", REG_SZ,
             "\"" + installDir + "SETUP.EXE\" /r" + '\0'},
            {HKEY_LOCAL_MACHINE, kUninstallEntry, "MenuDir", REG_SZ, menuDir + '\0'},
            {HKEY_LOCAL_MACHINE, kUninstallEntry, "DisplayIcon", REG_SZ, installDir + "PUZZLE.EXE" + '\0'},
            {HKEY_LOCAL_MACHINE, kUninstallEntry, "DisplayVersion", REG_SZ, std::string("1.0") + '\0'},
            {HKEY_LOCAL_MACHINE, kUninstallEntry, "Publisher", REG_SZ, std::string("Tamberlyn") + '\0'},
            {HKEY_LOCAL_MACHINE, kUninstallEntry, "InstallLocation", REG_SZ, installDir.substr(0, installDir.size() - 1) + '\0'},
            {HKEY_LOCAL_MACHINE, kUninstallEntry, "EstimatedSize", REG_DWORD, std::string(reinterpret_cast<char*>(&size), 4)},
            {HKEY_LOCAL_MACHINE, kUninstallEntry, "NoModify", REG_DWORD, std::string("\1\0\0\0", 4)},
            {HKEY_LOCAL_MACHINE, kUninstallEntry, "NoRepair", REG_DWORD, std::string("\1\0\0\0", 4)},
            {HKEY_CURRENT_USER, kApplicationKey, "ExecPath", REG_SZ, execPath},
            {HKEY_CURRENT_USER, kApplicationKey, "first", REG_DWORD, std::string("\1\0\0\0", 4)},
        };
        for (const ExpectedValue& value : values) {
            RegistryValue stored = ReadRegistryValue(value.root, value.key, value.name);
            EXPECT_TRUE(stored.exists) << value.key << " " << value.name;
            EXPECT_EQ(value.type, stored.type) << value.key << " " << value.name;
            EXPECT_EQ(value.data, std::string(stored.data.begin(), stored.data.end())) << value.key << " " << value.name;
        }
    }

    // The installed application itself: it finds its folder through the application key and
    // counts a game under its own key, which the package's "Reg" section names for removal.
    void PlayOnce()
    {
        ProgramRun puzzle;
        ASSERT_TRUE(puzzle.Start(installDir + "PUZZLE.EXE", ""));
        MessageBoxInfo box = AnswerMessageBox(puzzle.processId, IDOK);
        EXPECT_EQ("Pondway Puzzle is installed in\n" + installDir + "\n\nGames played: 1", box.text);
        EXPECT_EQ(0, puzzle.WaitExit());
        EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kPuzzleKey));
    }

    TempFolder packageRoot, scratch;
    std::vector<DWORD> notepadsAtStart = ProcessesNamed("notepad.exe");
    std::string package, updatedPackage, programFiles, programs, startMenu, desktop, installDir, menuDir, desktopLink, workerCopy;
};

LANGUAGE_TEST_F(Lifecycle, InstallReinstallUninstallLeavesThePrefixAsItWas)
{
    ASSERT_TRUE(CopyTree(BUILD_ROOT "\\sample-package\\", package)) << "the sample package";
    // An update of the package whose defaults moved: a reinstall from it must still go where
    // the first install went, as the uninstall entry records.
    ASSERT_TRUE(CopyTree(package, updatedPackage));
    std::string inf = ReadFileBytes(package + "SETUP.INF");
    for (const char* key : {"Folder=Pondway\\Puzzle", "Menu=Pondway\\Puzzle"}) {
        size_t place = inf.find(key);
        ASSERT_NE(std::string::npos, place) << key;
        inf.insert(place + lstrlenA(key), " 2");
    }
    ASSERT_TRUE(WriteFileBytes(updatedPackage + "SETUP.INF", inf));
    // A new prefix knows the type "txtfile" (Notepad) but names it for no extension, and Wine's
    // classes root merges no per-user classes: without this README.TXT would open nowhere.
    TextFileType textFiles;
    ASSERT_TRUE(textFiles.set);
    // winemenubuilder would mirror every shortcut into Linux menus, outside the prefix.
    RegistryValueGuard menuBuilder(HKEY_CURRENT_USER, kDllOverridesKey, "winemenubuilder.exe");
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kDllOverridesKey, "winemenubuilder.exe", ""));
    bool tamberlynExisted = RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Tamberlyn");
    bool applicationKeyExisted = RegistryKeyExists(HKEY_CURRENT_USER, kApplicationKey);

    Snapshot filesBefore = Files();
    Snapshot registryBefore = Registry();
    ASSERT_EQ("", filesBefore.failure);
    ASSERT_EQ("", registryBefore.failure);
    {
        // What the program leaves on purpose is checked below and then put back: the worker copy
        // waiting for the next start, its pending deletion and the application key.
        PendingRenamesGuard pendingRenames;
        RegistryValueGuard execPath(HKEY_CURRENT_USER, kApplicationKey, "ExecPath");
        RegistryValueGuard first(HKEY_CURRENT_USER, kApplicationKey, "first");

        // Install with the package's defaults and a desktop shortcut.
        ProgramRun install;
        std::vector<DWORD> notepads = ProcessesNamed("notepad.exe");
        WizardRun installed = InstallThroughWizard(install, package + "SETUP.EXE", ShotFunction());
        ASSERT_EQ("", installed.failure);
        EXPECT_EQ(installDir, installed.folderShown);
        EXPECT_EQ(menuDir.substr(startMenu.size() + 1), installed.menuShown);
        ExpectWizardRun(installed, "install");
        ExpectReadmeOpenedAndClose(install, notepads, "install");

        // The installation added its own files, folders, shortcuts and keys and changed nothing
        // else.
        Snapshot filesInstalled = Files();
        Snapshot registryInstalled = Registry();
        std::vector<std::string> fileChanges = SnapshotDifferences(filesBefore, filesInstalled);
        EXPECT_FALSE(fileChanges.empty());
        EXPECT_EQ("", DescribeDifferences(UnexpectedChanges(
                          fileChanges, {programFiles + "\\Pondway\\", programs + "\\Pondway\\", desktopLink + " "})))
            << "file changes of the install outside its own places";
        std::vector<std::string> keyChanges = SnapshotDifferences(registryBefore, registryInstalled);
        EXPECT_EQ("", DescribeDifferences(UnexpectedChanges(
                          keyChanges, InstallKeyPlaces())))
            << "registry changes of the install outside its own keys";
        ExpectInstalledFrom(package);
        PlayOnce();
        // The application keeps a file of its own in its folder.
        ASSERT_TRUE(WriteFileBytes(installDir + "SCORES.DAT", "12 34"));

        ProgramRun reinstall;
        notepads = ProcessesNamed("notepad.exe");
        WizardRun reinstalled = InstallThroughWizard(reinstall, updatedPackage + "SETUP.EXE", ShotFunction());
        ASSERT_EQ("", reinstalled.failure);
        EXPECT_EQ(installDir, reinstalled.folderShown) << "the registered folder";
        EXPECT_EQ(menuDir.substr(startMenu.size() + 1), reinstalled.menuShown) << "the registered menu folder";
        ExpectWizardRun(reinstalled, "reinstall");
        ExpectReadmeOpenedAndClose(reinstall, notepads, "reinstall");
        ExpectInstalledFrom(updatedPackage);
        EXPECT_FALSE(FolderExists(programFiles + "\\Pondway\\Puzzle 2"));
        EXPECT_FALSE(FolderExists(programs + "\\Pondway\\Puzzle 2"));

        // Uninstall with the installed copy, as the uninstall entry's command does.
        ProgramRun request;
        UninstallRun uninstalled = UninstallWithR(request, installDir + "SETUP.EXE", ShotFunction());
        ASSERT_EQ("", uninstalled.failure);
        EXPECT_EQ("ゲームを削除します。\nよろしいですか？", uninstalled.question.text);
        EXPECT_EQ(Message(32, kTitle), uninstalled.confirmation.text);
        EXPECT_EQ(1, request.WaitExit());
        EXPECT_EQ(Message(29, kTitle), uninstalled.dialogCaption);
        EXPECT_EQ(Message(30, kTitle), uninstalled.statusShown);
        EXPECT_EQ(std::vector<std::string>(), uninstalled.unexpectedBoxes);
        EXPECT_EQ(1, uninstalled.workerExit);
        EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry)) << "the uninstall entry with all its values";
        EXPECT_NE(request.processId, uninstalled.workerId);

        // Left on purpose: the worker copy until the next start, and the application key.
        EXPECT_EQ(ReadFileBytes(package + "SETUP.EXE"), ReadFileBytes(workerCopy)) << "the worker copy";
        char wow64[MAX_PATH] = "";
        GetSystemWow64DirectoryA(wow64, MAX_PATH);
        EXPECT_TRUE(PendingDeletionOf(workerCopy) || PendingDeletionOf(std::string(wow64) + "\\SETUP.EXE"))
            << "the worker copy is to be deleted at the next start";
        EXPECT_EQ(installDir, ReadRegistryValue(HKEY_CURRENT_USER, kApplicationKey, "ExecPath").text());
        EXPECT_TRUE(WaitUntil([&] { return DeleteFileA(workerCopy.c_str()) != 0; })) << "the worker copy let go";
        if (!applicationKeyExisted)
            DeleteRegistryTree(HKEY_CURRENT_USER, kApplicationKey);
        EXPECT_FALSE(FolderExists(programFiles + "\\Pondway")) << "the folder the package's \"Folder\" made above";
    }
    // Only an empty key goes: a "Reg" key the uninstall left below it must show in the diff.
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

// The comparison must see what a faulty uninstall would leave: a file, a folder, a changed
// file, a key and a value, names in the suite's code page included.
LANGUAGE_TEST_F(Lifecycle, SnapshotsSeeLeftFilesFoldersKeysAndValues)
{
    TempFolder place("lifecycle-probe-" LANGUAGE_TAG);
    ASSERT_TRUE(WriteFileBytes(place / "changed.txt", "one"));
    const char key[] = "Software\\TinySetupTest\\Lifecycle";
    DeleteRegistryTree(HKEY_CURRENT_USER, key);
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, key, "kept", "same"));

    Snapshot filesBefore = Files();
    Snapshot registryBefore = Registry();
    ASSERT_EQ("", registryBefore.failure);

    // A Japanese name: stored only where the Linux locale can spell it (Wine names files in the
    // Linux locale's character set, and a locale that is not installed there spells ASCII only).
    std::wstring named = WideFromUtf8(place / "") + L"\x30d1\x30ba\x30eb.txt";
    HANDLE file = CreateFileW(named.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    bool hasNamed = file != INVALID_HANDLE_VALUE;
    if (hasNamed) {
        CloseHandle(file);
    } else {
        ASSERT_TRUE(FolderExists(place.path())) << "error " << GetLastError() << " for " << Utf8FromWide(named);
    }
    ASSERT_TRUE(WriteFileBytes(place / "left\\inner.dat", "x"));
    ASSERT_TRUE(WriteFileBytes(place / "changed.txt", "one more"));
    ASSERT_TRUE(WriteFileBytes(scratch / "ignored.txt", "scratch"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, (std::string(key) + "\\Left").c_str(), "value", "v\\1"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, key, "kept", "changed"));

    std::string files = DescribeDifferences(SnapshotDifferences(filesBefore, Files()));
    std::string keys = DescribeDifferences(SnapshotDifferences(registryBefore, Registry()));
    DeleteRegistryTree(HKEY_CURRENT_USER, key);
    // The folder's removal goes by this program's code page, in which the name may not exist.
    DeleteFileW(named.c_str());

    if (hasNamed) {
        EXPECT_NE(std::string::npos, files.find("+ " + place.path() + "パズル.txt 0 ")) << files;
    }
    EXPECT_NE(std::string::npos, files.find("+ " + place.path() + "left\\\n")) << files;
    EXPECT_NE(std::string::npos, files.find("+ " + place.path() + "left\\inner.dat 1 ")) << files;
    EXPECT_NE(std::string::npos, files.find("- " + place.path() + "changed.txt 3 ")) << files;
    EXPECT_NE(std::string::npos, files.find("+ " + place.path() + "changed.txt 8 ")) << files;
    EXPECT_EQ(std::string::npos, files.find("ignored.txt")) << files;
    std::string keyName = "[HKEY_CURRENT_USER\\Software\\TinySetupTest\\Lifecycle";
    EXPECT_NE(std::string::npos, keys.find("+ " + keyName + "\\Left]\n")) << keys;
    EXPECT_NE(std::string::npos, keys.find("+ " + keyName + "\\Left] \"value\"=\"v\\\\1\"\n")) << keys;
    EXPECT_NE(std::string::npos, keys.find("- " + keyName + "] \"kept\"=\"same\"\n")) << keys;
    EXPECT_NE(std::string::npos, keys.find("+ " + keyName + "] \"kept\"=\"changed\"\n")) << keys;
    EXPECT_EQ(hasNamed ? 5 : 4, std::count(files.begin(), files.end(), '\n')) << files;
    EXPECT_EQ(4, std::count(keys.begin(), keys.end(), '\n')) << keys;
}

// regedit's export taken apart: values continued over lines, excluded keys and those below
// them, but not keys that merely begin with the same letters.
TEST(LANGUAGE_SUITE(LifecycleExport), ContinuedValuesAndExcludedKeys)
{
    std::wstring text =
        L"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n"
        L"[HKEY_CURRENT_USER\\A]\r\n\"bin\"=hex:01,02,\\\r\n  03,04\r\n@=\"default\"\r\n\r\n"
        L"[HKEY_CURRENT_USER\\A\\Skip]\r\n\"x\"=\"1\"\r\n\r\n"
        L"[HKEY_CURRENT_USER\\A\\Skip\\Below]\r\n\"y\"=dword:00000002\r\n\r\n"
        L"[HKEY_CURRENT_USER\\A\\Skipped]\r\n\"z\"=\"\x65e5\"\r\n";
    std::vector<std::string> lines = ParseRegistryExport(text, {"HKEY_CURRENT_USER\\a\\skip"});
    std::vector<std::string> expected = {
        "[HKEY_CURRENT_USER\\A]",
        "[HKEY_CURRENT_USER\\A] \"bin\"=hex:01,02,03,04",
        "[HKEY_CURRENT_USER\\A] @=\"default\"",
        "[HKEY_CURRENT_USER\\A\\Skipped]",
        "[HKEY_CURRENT_USER\\A\\Skipped] \"z\"=\"日\"",
    };
    EXPECT_EQ(expected, lines);
}

}  // namespace
