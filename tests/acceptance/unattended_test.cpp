// The unattended modes from outside: the built program started with the switches a deployment
// tool or package manager gives, its exit code, its log, and the files, shortcuts and values it
// leaves, compared with what the wizard makes of the same package.
#include <windows.h>

#include <algorithm>

#include "lifecycle_driver.h"
#include "lifecycle_snapshot.h"
#include "messages_package.h"
#include "support/expected_messages.h"

namespace {

class Unattended : public AcceptancePackage {
public:
    Unattended() : AcceptancePackage(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        log = root / "setup.log";
    }

    void WriteKitePackage()
    {
        WritePackage("[Install]\r\nTitle=Kite Tools\r\nFolder=Kite\r\nInstallKey=" + key +
                     "\r\n1=kite.exe\r\n2=docs\\read.txt\r\n[Group]\r\n1=Kite,kite.exe\r\n2=Uninstall Kite,SETUP.EXE,/r\r\n"
                     "[Reg]\r\n1=HKEY_CURRENT_USER\\Software\\Tamberlyn\\KiteUnattended\r\n");
        ASSERT_TRUE(WriteFileBytes(pkg + "kite.exe", "the package's program"));
        ASSERT_TRUE(WriteFileBytes(pkg + "docs\\read.txt", "the package's notes"));
    }

    int Run(const std::string& exe, const std::string& arguments)
    {
        ProgramRun program;
        if (!program.Start(exe, arguments))
            return -2;
        return program.WaitExit();
    }

    // What an install made: the files in the destination and the user's folders (without the
    // write times of the shortcuts and the install record), and the uninstall entry's values.
    std::vector<std::string> Made()
    {
        Snapshot files = SnapshotFiles(root / "", {pkg, log});
        std::vector<std::string> lines;
        for (std::string line : files.lines) {
            for (const char* madeNow : {".lnk ", ".REC "}) {
                if (line.find(madeNow) != std::string::npos)
                    line = line.substr(0, line.find(madeNow) + 4);
            }
            lines.push_back(line);
        }
        for (const char* value : {"DisplayName", "UninstallString", "QuietUninstallString", "MenuDir"})
            lines.push_back(std::string(value) + "=" + ReadRegistryValue(HKEY_LOCAL_MACHINE, EntryKey().c_str(), value).text());
        lines.push_back("ExecPath=" + ReadRegistryValue(HKEY_CURRENT_USER, kApplicationKeyPath, "ExecPath").text());
        return lines;
    }

    std::string log;
};

TEST_F(Unattended, QuietInstallMakesWhatTheWizardMakesAndQuietRemovalEndsAfterIt)
{
    WriteKitePackage();
    EXPECT_EQ(0, Run(pkg + "SETUP.EXE", "/quiet /dir=\"" + dest + "\" /desktop /log=\"" + log + "\""));
    std::vector<std::string> quiet = Made();
    std::string installLog = ReadFileBytes(log);
    EXPECT_EQ("Pondway Setup ", installLog.substr(9, 14)) << installLog;
    EXPECT_NE(std::string::npos, installLog.find("file copied: " + dest + "docs\\read.txt")) << installLog;
    EXPECT_NE(std::string::npos, installLog.find("shortcut made: " + user + "Desktop\\Kite Tools.lnk")) << installLog;
    EXPECT_EQ("exit code 0\r\n", installLog.substr(installLog.size() - 13));
    EXPECT_EQ("\"" + dest + "SETUP.EXE\" /r /quiet",
              ReadRegistryValue(HKEY_LOCAL_MACHINE, EntryKey().c_str(), "QuietUninstallString").text());
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, "Software\\Tamberlyn\\KiteUnattended", "x", "the application's"));

    // The removal answers its caller once everything but the running request's own program is
    // gone; that file and the folder follow as soon as the request has ended.
    EXPECT_EQ(0, Run(dest + "SETUP.EXE", "/r /quiet /log=\"" + log + "\""));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, EntryKey().c_str()));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Tamberlyn\\KiteUnattended"));
    for (const char* file : {"kite.exe", "docs\\read.txt", "SETUP.INF"})
        EXPECT_FALSE(FileExists(dest + file)) << file;
    EXPECT_FALSE(FileExists(user + "Desktop\\Kite Tools.lnk"));
    EXPECT_TRUE(WaitUntil([&] { return !FolderExists(dest); }, 5000)) << ReadFileBytes(log);

    // The wizard, with the same choices, makes the very same.
    WizardRun wizard = InstallThroughWizard(run, pkg + "SETUP.EXE", {}, "", dest);
    ASSERT_EQ("", wizard.failure);
    EXPECT_EQ(quiet, Made()) << DescribeDifferences(SnapshotDifferences({quiet, ""}, {Made(), ""}));
    ProgramRun request;
    EXPECT_EQ("", UninstallWithR(request, dest + "SETUP.EXE", {}).failure);
}

TEST_F(Unattended, FileInUseIsNamedAndUnknownSwitchChangesNothing)
{
    WriteKitePackage();
    EXPECT_EQ(87, Run(pkg + "SETUP.EXE", "/quiet /S /dir=\"" + dest + "\" /log=\"" + log + "\""));
    EXPECT_NE(std::string::npos, ReadFileBytes(log).find("not understood: /S")) << ReadFileBytes(log);
    EXPECT_FALSE(FolderExists(dest));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, EntryKey().c_str()));

    // An older copy of the program, held open by the running application.
    ASSERT_TRUE(WriteFileBytes(dest + "kite.exe", "an older program"));
    FILETIME old = {0, 0x01000000};
    HANDLE held = CreateFileA((dest + "kite.exe").c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    SetFileTime(held, nullptr, nullptr, &old);
    EXPECT_EQ(1603, Run(pkg + "SETUP.EXE", "/quiet /dir=\"" + dest + "\" /log=\"" + log + "\""));
    CloseHandle(held);
    std::string installLog = ReadFileBytes(log);
    EXPECT_NE(std::string::npos, installLog.find("file not copied: " + dest + "kite.exe")) << installLog;
    EXPECT_EQ("an older program", ReadFileBytes(dest + "kite.exe"));
    EXPECT_EQ("the package's notes", ReadFileBytes(dest + "docs\\read.txt")) << "the rest is installed";
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, EntryKey().c_str())) << "registered, to be removable";
    EXPECT_EQ(0, Run(dest + "SETUP.EXE", "/r /quiet"));
}

// A program renamed with a blank in its name: the request starts its worker with the worker's
// path quoted, and the worker finds its arguments after it.
TEST_F(Unattended, AProgramNamedWithABlankRemovesItsInstallation)
{
    WritePackage("[Install]\r\nTitle=Kite Tools\r\nFolder=Kite\r\nInstallKey=" + key + "\r\n1=kite.exe\r\n",
                 "Kite Setup.exe", "Kite Setup.INF");
    ASSERT_TRUE(WriteFileBytes(pkg + "kite.exe", "the package's program"));
    EXPECT_EQ(0, Run(pkg + "Kite Setup.exe", "/quiet /dir=\"" + dest + "\""));
    EXPECT_EQ("\"" + dest + "Kite Setup.exe\" /r /quiet",
              ReadRegistryValue(HKEY_LOCAL_MACHINE, EntryKey().c_str(), "QuietUninstallString").text());

    EXPECT_EQ(0, Run(dest + "Kite Setup.exe", "/r /quiet /log=\"" + log + "\""));
    std::string removalLog = ReadFileBytes(log);
    // The worker's copy is "Kite Setup.exe" (or "Kite Setup_1.exe" where an earlier one waits for
    // the next restart), quoted whole, blank and all.
    size_t start = removalLog.find("\"" + SystemFolder() + "\\Kite Setup");
    ASSERT_NE(std::string::npos, start) << removalLog;
    size_t end = removalLog.find('"', start + 1);
    ASSERT_NE(std::string::npos, end) << removalLog;
    EXPECT_EQ(".exe\" /quiet", removalLog.substr(end - 4, 12)) << removalLog;
    EXPECT_TRUE(WaitUntil([&] { return !FolderExists(dest); }, 5000)) << removalLog;
}

TEST_F(Unattended, PassiveShowsOnlyTheProgress)
{
    WriteKitePackage();
    ASSERT_TRUE(run.Start(pkg + "SETUP.EXE", "/passive /dir=\"" + dest + "\""));
    HWND sheet = WaitForDialog(run.processId);
    ASSERT_NE(nullptr, sheet);
    EXPECT_NE(nullptr, WaitForPageWith(sheet, IDC_PROGRESS)) << "the copy page";
    EXPECT_FALSE(ControlExists(CurrentPage(sheet), IDC_DESTINATION)) << "no folder page";
    EXPECT_EQ(0, run.WaitExit()) << "ends by itself";
    EXPECT_EQ("the package's program", ReadFileBytes(dest + "kite.exe"));

    ProgramRun request;
    ASSERT_TRUE(request.Start(dest + "SETUP.EXE", "/r /passive"));
    EXPECT_NE(nullptr, WaitForDialogWithControl(0, IDC_FINISH)) << "the uninstall dialog";
    EXPECT_EQ(0, request.WaitExit());
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, EntryKey().c_str()));
}

TEST_F(Unattended, PassiveCancelEndsWith1602AndLeavesWhatWasCopiedRemovable)
{
    std::string entries;
    for (int i = 1; i <= 400; ++i)
        entries += std::to_string(i) + "=kite.exe,copies\\k" + std::to_string(i) + ".exe\r\n";
    WritePackage("[Install]\r\nTitle=Kite Tools\r\nFolder=Kite\r\nInstallKey=" + key + "\r\n" + entries);
    ASSERT_TRUE(WriteFileBytes(pkg + "kite.exe", "the package's program"));
    ASSERT_TRUE(run.Start(pkg + "SETUP.EXE", "/passive /dir=\"" + dest + "\" /log=\"" + log + "\""));
    HWND sheet = WaitForDialog(run.processId);
    ASSERT_NE(nullptr, sheet);
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_CANCEL));
    EXPECT_EQ(1602, run.WaitExit());
    EXPECT_FALSE(FileExists(dest + "copies\\k400.exe")) << "the copy stopped";
    EXPECT_NE(std::string::npos, ReadFileBytes(log).find("cancelled")) << ReadFileBytes(log);
    ASSERT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, EntryKey().c_str())) << "registered, to be removable";
    EXPECT_EQ(0, Run(dest + "SETUP.EXE", "/r /quiet"));
    EXPECT_TRUE(WaitUntil([&] { return !FolderExists(dest); }, 5000));
}

}  // namespace
