// Under a Japanese user: code page 932, the Japanese string table and templates.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "dialog_design.h"
#include "locale_checks.h"
#include "res/resource.h"
#include "resource_reader.h"

namespace {

class JapaneseResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), 932u) << "the test must run under a Japanese locale";
        UseOwnResources();
    }
};

TEST_F(JapaneseResources, EveryMessageHasItsJapaneseText)
{
    ExpectMessageTable(MessageLanguage::Japanese);
}

TEST_F(JapaneseResources, LoaderCreatesTheJapaneseTemplates)
{
    ExpectLoadedTemplates(kJapaneseTemplates);
}

TEST_F(JapaneseResources, FormattingKeepsDoubleByteTextWhole)
{
    // Shift-JIS trail bytes may equal '\\' or '%'; formatting must not take them apart.
    EXPECT_EQ(Utf8FromAnsiText(FormatMessageText(IDS_WIZARD_CAPTION, "\x83\x5c\x83\x74\x83\x67")),
              ExpectedText(IDS_WIZARD_CAPTION, MessageLanguage::Japanese, {"ソフト"}));
}

}  // namespace
