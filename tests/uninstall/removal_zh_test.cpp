// The removal under Big5 (code page 950), where the second byte of a character can be the byte
// of "\": the package's folder levels above the install folder are judged by whole characters.
#include <gtest/gtest.h>

#include <string>

#include "install_state_fixture.h"
#include "uninstall/removal.h"

namespace {

class RemovalChinese : public InstallStateTest {
protected:
    RemovalChinese() : InstallStateTest("removal-zh") {}
};

TEST_F(RemovalChinese, AUsersFolderEndingWithThePackagesLevelAfterATrailByteStays)
{
    ASSERT_EQ(950u, GetACP());
    // 功 is 0xA5 0x5C: "功Kite" ends with "\Kite" byte for byte, but it is not the level "Kite".
    const std::string usersFolder = root / AnsiFromUtf8("功Kite");
    const std::string folder = usersFolder + "\\Tools\\";
    Copy(installState.installDir, folder);
    Copy(installState.infPath, folder + "TQSETUP.INF");
    ASSERT_TRUE(WriteFileBytes(folder + "TQSETUP.INF", "[Install]\r\nTitle=T\r\nFolder=Kite\\Tools\r\n"));
    ASSERT_TRUE(WriteFileBytes(folder + "TQSETUP.EXE", "program"));

    MessageBoxRecorder recorder;
    EXPECT_TRUE(RemoveInstalledFiles(Boxes()));
    EXPECT_FALSE(FolderExists(folder));
    EXPECT_TRUE(FolderExists(usersFolder)) << "the user's folder is not the package's level";
}

}  // namespace
