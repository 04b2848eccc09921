// RegistryKey against the real registry: only REG_SZ text that fits, always terminated.
#include <gtest/gtest.h>

#include "base/registry_key.h"
#include "support/test_support.h"

namespace {

const char kTestKey[] = "Software\\TinySetupTest\\RegistryKey";

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteRegistryTree(HKEY_CURRENT_USER, kTestKey);
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, kTestKey, &key));
        Set(key, "text", REG_SZ, "hello", 6);
        Set(key, "unterminated", REG_SZ, "abcd", 4);
        Set(key, "expand", REG_EXPAND_SZ, "%TEMP%", 7);
        DWORD one = 1;
        RegSetValueExA(key, "number", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
        RegCloseKey(key);
    }
    void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, kTestKey); }

    static void Set(HKEY key, const char* name, DWORD type, const char* data, DWORD size)
    {
        RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data), size);
    }
};

TEST_F(RegistryKeyTest, ReadsOnlyStringValues)
{
    RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ));
    char buffer[16] = "untouched";
    EXPECT_TRUE(key.ReadString("text", buffer));
    EXPECT_STREQ("hello", buffer);

    for (const char* name : {"expand", "number", "missing"}) {
        char other[16] = "untouched";
        EXPECT_FALSE(key.ReadString(name, other)) << name;
        EXPECT_STREQ("untouched", other) << name;
    }
}

TEST_F(RegistryKeyTest, TerminatesStoredTextAndRefusesWhatDoesNotFit)
{
    RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ));

    char exact[5];  // "abcd" stored without its terminator still needs five bytes here
    memset(exact, 'x', sizeof exact);
    EXPECT_TRUE(key.ReadString("unterminated", exact, sizeof exact));
    EXPECT_STREQ("abcd", exact);

    char tight[6];
    EXPECT_TRUE(key.ReadString("text", tight, sizeof tight));
    EXPECT_STREQ("hello", tight);

    char small[5] = "keep";
    EXPECT_FALSE(key.ReadString("text", small, sizeof small));
    EXPECT_STREQ("keep", small);
}

TEST_F(RegistryKeyTest, ClosedOrFailedKeysReadNothing)
{
    RegistryKey key;
    char buffer[16] = "untouched";
    EXPECT_FALSE(key.ReadString("text", buffer));

    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kTestKey, KEY_READ));
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, "Software\\TinySetupTest\\NoSuchKey", KEY_READ));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(key.ReadString("text", buffer));
    EXPECT_STREQ("untouched", buffer);

    key.Close();
    key.Close();  // harmless twice
    EXPECT_FALSE(key.IsOpen());
}

}  // namespace
