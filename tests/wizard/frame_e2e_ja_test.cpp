// The destination-folder page under the Japanese resources: its caption and prompt, and the
// full installation's fixed 1250 megabytes, on drives of 1300 MB (T:) and 1200 MB (U:).
#include <gtest/gtest.h>

#include <windows.h>
#include <prsht.h>

#include <string>

#include "support/end_to_end_test.h"
#include "support/expected_messages.h"
#include "frame_package.h"

namespace {

const char kLowDiskSpace[] = "指定されたドライブの空き容量が不足しています。";
const std::string kInterrupted = ExpectedText(36, MessageLanguage::Japanese);

class WizardFrameE2eJa : public EndToEndTest {};

TEST_F(WizardFrameE2eJa, FullInstallationNeedsItsFixedSpace)
{
    ASSERT_EQ(0x0411, GetUserDefaultLangID());
    // The files themselves need a megabyte at most: only the full installation's own figure
    // can refuse U:.
    FramePackage package("wizard_frame_space_ja",
                         "Title=Frame Puzzle\r\nFolder=\\FrameGames\\Puzzle\r\nInstallKey=TinySetupFrameSpaceJa\r\n"
                         "1=readme.txt\r\n");
    ASSERT_TRUE(WriteFileBytes(package.folder / "readme.txt", "read me\r\n"));
    ProgramRun run;
    HWND sheet = StartWizard(run, package, "Frame Puzzleのインストール");
    ASSERT_NE(nullptr, sheet);
    HWND folderPage = CurrentPage(sheet);
    EXPECT_EQ("Frame Puzzleのインストール先を指定してください：", ControlText(folderPage, 1000));
    // The full-installation button is there (hidden) and checked: a full installation.
    EXPECT_TRUE(IsChecked(folderPage, 1005));

    ASSERT_TRUE(SetControlText(folderPage, 1001, "T:\\Game"));
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_NEXT));
    EXPECT_NE(nullptr, WaitForPageWith(sheet, 1007)) << "1300 MB free were refused";
    EXPECT_FALSE(FolderExists("T:\\Game"));

    ASSERT_TRUE(WaitForWizardButton(sheet, kBackButtonId));
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_BACK));
    ASSERT_EQ(folderPage, WaitForPageWith(sheet, 1001));
    EXPECT_EQ("T:\\Game\\", ControlText(folderPage, 1001));

    ShownBox shown = NextWithDestination(run, sheet, "U:\\Game");
    const MessageBoxInfo& box = shown.info;
    EXPECT_EQ(kLowDiskSpace, box.text);
    EXPECT_EQ("Frame Puzzle", box.caption);
    EXPECT_FALSE(shown.iconShown);
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
    EXPECT_EQ(folderPage, CurrentPage(sheet));
    EXPECT_FALSE(FolderExists("U:\\Game"));

    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_CANCEL));
    EXPECT_EQ(kInterrupted, AnswerMessageBox(run.processId, IDOK).text);
    EXPECT_EQ(1, run.WaitExit());
}

}  // namespace
