// /passive from a Downloads folder holding someone's comctl32.dll, Wine taking a DLL the search
// finds before its own as Windows does: the install succeeds and never loads that DLL. (Not so
// for version.dll: Wine's own user32 imports it from beside the program; Windows' does not.)
#include "messages_package.h"

namespace {

// Per-program overrides: a program started by another reads no WINEDLLOVERRIDES of its own.
constexpr const char kOverrides[] = "Software\\Wine\\AppDefaults\\SETUP.EXE\\DllOverrides";

class PlantedDll : public AcceptancePackage {
public:
    PlantedDll() : AcceptancePackage("planted-dll") { pkg = root / "Downloads\\"; }
    ~PlantedDll() override { DeleteRegistryTree(HKEY_CURRENT_USER, kOverrides); }
};

TEST_F(PlantedDll, AnInstallFromDownloadsLoadsNoCommonControlsBesideTheInstaller)
{
    CopyProgramTo(root, "Downloads\\SETUP.EXE");
    ASSERT_TRUE(WriteFileBytes(pkg + "SETUP.INF", "[Install]\r\nTitle=Kite\r\nFolder=Kite\r\nInstallKey=" + key +
                                                      "\r\n1=kite.exe\r\n"));
    ASSERT_TRUE(WriteFileBytes(pkg + "kite.exe", "the package's program"));
    ASSERT_TRUE(CopyFileA(PLANTED_DLL, (pkg + "comctl32.dll").c_str(), FALSE));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kOverrides, "comctl32", "native,builtin"));

    ProgramRun install;
    ASSERT_TRUE(install.Start(pkg + "SETUP.EXE", "/passive /nomenu /dir=\"" + dest + "\""));
    EXPECT_EQ(0, install.WaitExit(30000));
    EXPECT_EQ("the package's program", ReadFileBytes(dest + "kite.exe"));
    EXPECT_FALSE(FileExists(pkg + "comctl32.dll.loaded")) << "the planted comctl32.dll was loaded";
}

}  // namespace
