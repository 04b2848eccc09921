// A user whose language the program does not speak (German here) gets the English resources.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "dialog_design.h"
#include "locale_checks.h"
#include "res/resource.h"
#include "resource_reader.h"

namespace {

TEST(OtherLanguage, GetsTheEnglishResources)
{
    ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_GERMAN);
    UseOwnResources();
    EXPECT_EQ(std::string(LoadMessage(IDS_INF_SUFFIX)), ExpectedText(IDS_INF_SUFFIX, MessageLanguage::English));
    EXPECT_EQ(std::string(LoadMessage(IDS_ROOT_FOLDER)), ExpectedText(IDS_ROOT_FOLDER, MessageLanguage::English));
    ExpectLoadedTemplates(kEnglishTemplates);
}

}  // namespace
