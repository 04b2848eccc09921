// The built program installs a package under the Japanese resources: the full installation
// (the template's checked radio button) copies entry 02, and the closing texts are Japanese.
#include <gtest/gtest.h>

#include <string>

#include "copy_e2e_package.h"

namespace {

class CopyJapaneseInstallTest : public CopyEndToEnd {
protected:
    CopyJapaneseInstallTest() : CopyEndToEnd("wizard_copy_e2e_ja", "Copy E2E Japanese") {}
};

TEST_F(CopyJapaneseInstallTest, FullInstallationCopiesEntryTwo)
{
    ASSERT_TRUE(WriteFileBytes(pkg + "02", "voice"));
    ASSERT_TRUE(WriteFileBytes(pkg + "readme.txt", "readme"));
    WritePackage("1=readme.txt\r\n2=02\r\n");
    ASSERT_TRUE(StartAndLeaveFolderPage());
    ASSERT_TRUE(SetCheck(menuPage, IDC_MENU_SHORTCUTS, false));
    ASSERT_TRUE(LeaveMenuPage());

    ASSERT_TRUE(WaitForFinish());
    EXPECT_EQ(ControlText(copyPage, IDC_STATUS), "インストールが完了しました。「完了」を押すと終了します。");
    EXPECT_EQ(ControlText(copyPage, IDC_UNINSTALL_HINT),
              "このソフトを削除するにはコントロールパネルの「アプリケーションの追加と削除」を使ってください。");
    MessageBoxInfo box = PressFinish();
    EXPECT_EQ(box.text, "インストールが完了しました。");
    EXPECT_EQ(box.caption, title);
    EXPECT_EQ(run.WaitExit(), 1);

    EXPECT_EQ(ReadFileBytes(dest + "02"), "voice");
    EXPECT_EQ(ReadFileBytes(dest + "readme.txt"), "readme");
}

}  // namespace
