// Uninstall request under the Traditional Chinese resources: the resident-program note
// begins on a new line of the confirmation.
#include <gtest/gtest.h>

#include <string>

#include "install_state_fixture.h"
#include "res/resource.h"
#include "support/expected_messages.h"
#include "uninstall/handoff.h"

namespace {

class UninstallRequestChinese : public InstallStateTest {
protected:
    UninstallRequestChinese() : InstallStateTest("uninstall-request-zh") {}
};

TEST_F(UninstallRequestChinese, ResidentNoteFollowsOnANewLine)
{
    ASSERT_EQ(950u, GetACP());
    Copy(installState.title, "TinySetupTest");
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
        installState.residentProgram = row.resident;
        MessageBoxRecorder recorder(IDCANCEL);
        RequestUninstall(Boxes(), nullptr);
        ASSERT_EQ(1u, recorder.boxes.size());
        EXPECT_EQ(row.textUtf8, Utf8FromAnsi(recorder.boxes[0].text));
        EXPECT_EQ("TinySetupTest", recorder.boxes[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION | MB_OKCANCEL), recorder.boxes[0].style);
    }
}

}  // namespace
