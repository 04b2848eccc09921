// The removal under code page 932, which lacks the yen sign and Hangul: files and registry keys
// that a Unicode program named with them are listed by a best fit ("\\" and "?").
#include <gtest/gtest.h>

#include "install_state_fixture.h"
#include "shell/registration.h"
#include "uninstall/removal.h"

namespace {

class RemovalJapanese : public InstallStateTest {
protected:
    RemovalJapanese() : InstallStateTest("removal-ja") {}
};

TEST_F(RemovalJapanese, NamesTheCodePageCannotSpellNeverLeadOutOfTheirFolderOrKey)
{
    ASSERT_EQ(932u, GetACP());
    const std::wstring yenFile = WideFromUtf8(installDir) + L"a\u00A5..\u00A5..\u00A5victim.txt";
    const std::string victim = root / "victim.txt";  // what the best fit "a\..\..\victim.txt" names
    const char shop[] = "Software\\TinySetupTest\\Shop";
    ASSERT_TRUE(WriteFileBytes(installDir + "TQSETUP.INF", "[Reg]\r\n1=HKEY_CURRENT_USER\\" + std::string(shop)));
    ASSERT_TRUE(WriteFileBytes(victim, "the user's"));
    ASSERT_TRUE(WriteFileBytes(installDir + AnsiFromUtf8("\xE8\xA1\xA8.txt"), "x"));  // 0x95 0x5C
    ASSERT_TRUE(CloseHandle(CreateFileW(yenFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    HKEY key;
    for (const wchar_t* sub : {L"\\\u00A5100 Shop\\Deeper", L"\\\uD55C\uAD6D\uC5B4"})
        ASSERT_TRUE(RegCreateKeyExW(HKEY_CURRENT_USER, (WideFromUtf8(shop) + sub).c_str(), 0, nullptr, 0, KEY_WRITE,
                                    nullptr, &key, nullptr) == ERROR_SUCCESS && RegCloseKey(key) == ERROR_SUCCESS);

    MessageBoxRecorder recorder;
    bool removed = RemoveInstalledFiles(testPackage, Boxes());
    bool yenFileStayed = DeleteFileW(yenFile.c_str()) != FALSE;
    bool keyStayed = RegistryKeyExists(HKEY_CURRENT_USER, shop);
    DeleteKeyTree(HKEY_CURRENT_USER, shop);

    EXPECT_EQ("the user's", ReadFileBytes(victim));
    EXPECT_FALSE(keyStayed);
    EXPECT_FALSE(yenFileStayed);
    EXPECT_TRUE(removed);
    EXPECT_TRUE(recorder.boxes.empty()) << recorder.boxes[0].text;
    EXPECT_FALSE(FolderExists(installDir));
}

}  // namespace
