// The uninstall under the Traditional Chinese resources and Big5 (code page 950): the
// resident-program note begins on a new line of the confirmation, and the package's folder
// levels are judged by whole characters, since a second byte can be the byte of "\".
#include <gtest/gtest.h>

#include <string>

#include "install_state_fixture.h"
#include "res/resource.h"
#include "support/expected_messages.h"
#include "uninstall/handoff.h"
#include "uninstall/removal.h"

namespace {

class UninstallChinese : public InstallStateTest {
protected:
    UninstallChinese() : InstallStateTest("uninstall-zh") {}
};

TEST_F(UninstallChinese, ResidentNoteFollowsOnANewLine)
{
    ASSERT_EQ(950u, GetACP());
    Copy(testPackage.title, "TinySetupTest");
    struct Case {
        bool resident;
        std::string textUtf8;
    } cases[] = {
        {false, ExpectedText(IDS_UNINSTALL_CONFIRM, MessageLanguage::Chinese, {"TinySetupTest"})},
        {true, ExpectedText(IDS_UNINSTALL_CONFIRM, MessageLanguage::Chinese, {"TinySetupTest"}) +
                   ExpectedText(IDS_RESIDENT_NOTE, MessageLanguage::Chinese)},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.resident ? "resident" : "not resident");
        testPackage.residentProgram = row.resident;
        MessageBoxRecorder recorder(IDCANCEL);
        RequestUninstall(testPackage, Boxes(), nullptr);
        ASSERT_EQ(1u, recorder.boxes.size());
        EXPECT_EQ(row.textUtf8, Utf8FromAnsi(recorder.boxes[0].text));
        EXPECT_EQ("TinySetupTest", recorder.boxes[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION | MB_OKCANCEL), recorder.boxes[0].style);
    }
}

TEST_F(UninstallChinese, AUsersFolderEndingWithThePackagesLevelAfterATrailByteStays)
{
    ASSERT_EQ(950u, GetACP());
    // 功 is 0xA5 0x5C: "功Kite" ends with "\Kite" byte for byte, but it is not the level "Kite".
    const std::string usersFolder = root / AnsiFromUtf8("功Kite");
    const std::string folder = usersFolder + "\\Tools\\";
    Copy(installState.installDir, folder);
    Copy(testPackage.infPath, folder + "TQSETUP.INF");
    ASSERT_TRUE(WriteFileBytes(folder + "TQSETUP.INF", "[Install]\r\nTitle=T\r\nFolder=Kite\\Tools\r\n"));
    ASSERT_TRUE(WriteFileBytes(folder + "TQSETUP.EXE", "program"));

    MessageBoxRecorder recorder;
    EXPECT_TRUE(RemoveInstalledFiles(testPackage, Boxes()));
    EXPECT_FALSE(FolderExists(folder));
    EXPECT_TRUE(FolderExists(usersFolder)) << "the user's folder is not the package's level";
}

}  // namespace
