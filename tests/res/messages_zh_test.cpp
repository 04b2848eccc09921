// Under a Traditional Chinese user: code page 950, the Chinese string table and templates.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "dialog_design.h"
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
    ExpectMessageTable(MessageLanguage::Chinese);
}

TEST_F(ChineseResources, LoaderCreatesTheChineseTemplates)
{
    ExpectLoadedTemplates(kChineseTemplates);
}

TEST_F(ChineseResources, UninstallHintNamesTheControlPanelWhateverShortcut)
{
    // The Chinese text has no place for the shortcut's name.
    EXPECT_EQ(Utf8FromAnsiText(FormatMessageText(IDS_UNINSTALL_HINT, "Uninstall Puzzle")),
              ExpectedText(IDS_UNINSTALL_HINT, MessageLanguage::Chinese));
}

}  // namespace
