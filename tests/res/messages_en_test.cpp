// Under an English user: code page 1252, the English string table and templates.
#include <gtest/gtest.h>

#include "dialog_design.h"
#include "locale_checks.h"

namespace {

class EnglishResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), 1252u) << "the test must run under an English locale";
        UseOwnResources();
    }
};

TEST_F(EnglishResources, EveryMessageHasItsEnglishText)
{
    ExpectMessageTable(MessageLanguage::English);
}

TEST_F(EnglishResources, LoaderCreatesTheEnglishTemplates)
{
    ExpectLoadedTemplates(kEnglishTemplates);
}

}  // namespace
