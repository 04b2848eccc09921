// A user whose language the program does not speak (German here) gets the English resources.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "locale_checks.h"
#include "res/resource.h"
#include "resource_reader.h"

namespace {

TEST(OtherLanguage, GetsTheEnglishResources)
{
    ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_GERMAN);
    UseOwnResources();
    EXPECT_STREQ(LoadMessage(IDS_INF_SUFFIX), "E.INF");
    EXPECT_STREQ(LoadMessage(IDS_ROOT_FOLDER), "Unable to install in the route directory.");
    CreatedDialog about(IDD_ABOUT);
    ASSERT_NE(about.window(), nullptr);
    EXPECT_EQ(WindowTextUtf8(about.window()), "Version Infomation");
}

}  // namespace
