// The installer started from a Downloads folder that also holds a comctl32.dll of someone
// else's: with the progress of /passive (the common controls loaded), and Wine told to prefer a
// DLL found by the search to its own, as Windows' search does for that name, it installs the
// package and never loads that DLL. (A planted version.dll cannot be tried so: Wine's own
// user32.dll imports version.dll and takes it from beside the program before the program runs;
// Windows' user32 does not. The import check keeps version.dll out of the program's imports.)
#include "messages_package.h"

namespace {

// Wine's per-program DLL overrides (what WINEDLLOVERRIDES says for one process; a program
// started by another does not read that variable anew): a DLL found by the search before
// Wine's own, as Windows' search order has it for DLLs that are not known DLLs.
constexpr const char kSetupOverrides[] = "Software\\Wine\\AppDefaults\\SETUP.EXE\\DllOverrides";

class PlantedDll : public AcceptancePackage {
public:
    PlantedDll() : AcceptancePackage("planted-dll"), overridesExisted(RegistryKeyExists(HKEY_CURRENT_USER, kSetupOverrides))
    {
        pkg = root / "Downloads\\";
    }
    ~PlantedDll() override
    {
        if (!overridesExisted)
            DeleteRegistryTree(HKEY_CURRENT_USER, kSetupOverrides);
    }

    bool overridesExisted;
};

TEST_F(PlantedDll, AnInstallFromDownloadsLoadsNoCommonControlsBesideTheInstaller)
{
    CopyProgramTo(root, "Downloads\\SETUP.EXE");
    ASSERT_TRUE(WriteFileBytes(pkg + "SETUP.INF", "[Install]\r\nTitle=Kite Tools\r\nFolder=Kite\r\nInstallKey=" + key +
                                                      "\r\n1=kite.exe\r\n"));
    ASSERT_TRUE(WriteFileBytes(pkg + "kite.exe", "the package's program"));
    ASSERT_TRUE(CopyFileA(PLANTED_DLL, (pkg + "comctl32.dll").c_str(), FALSE));

    RegistryValueGuard overrideGuard(HKEY_CURRENT_USER, kSetupOverrides, "comctl32");
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kSetupOverrides, "comctl32", "native,builtin"));
    ProgramRun install;
    ASSERT_TRUE(install.Start(pkg + "SETUP.EXE", "/passive /nomenu /dir=\"" + dest + "\""));
    EXPECT_EQ(0, install.WaitExit(30000));

    EXPECT_EQ("the package's program", ReadFileBytes(dest + "kite.exe"));
    EXPECT_FALSE(FileExists(pkg + "comctl32.dll.loaded")) << "the planted comctl32.dll was loaded";
}

}  // namespace
