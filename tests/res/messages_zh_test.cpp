// Under a Traditional Chinese user: code page 950, the Chinese string table and templates.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "locale_checks.h"
#include "res/resource.h"
#include "resource_reader.h"

namespace {

class ChineseResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), 950u) << "the test must run under a Traditional Chinese locale";
        UseOwnResources();
    }
};

TEST_F(ChineseResources, EveryMessageHasItsChineseText)
{
    ExpectMessageTable(kMessagesZh);
}

TEST_F(ChineseResources, LoaderCreatesTheChineseTemplates)
{
    ExpectLoadedTemplates({false, "瀏覽(&B)...", "登錄到開始功能表內", "正在複製檔案...",
                           "關於 Pondway", "確定", "正在移除...", "結束"});
}

TEST_F(ChineseResources, UninstallHintNamesTheControlPanelWhateverShortcut)
{
    EXPECT_EQ(Utf8FromAnsiText(FormatMessageText(IDS_UNINSTALL_HINT, "Uninstall Puzzle")),
              "如果要解除安裝，請從控制台的「新增/移除程式」項目進行移除。");
}

}  // namespace
