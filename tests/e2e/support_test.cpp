// The test-support helpers every suite relies on: a wrong restore or an over-eager removal
// here would leave a prefix different from the one the next test expects, or worse.
#include <gtest/gtest.h>

#include "base/fixed_texts.h"
#include "base/message_box.h"
#include "support/test_support.h"

namespace {

const char kGuardKey[] = "Software\\TinySetupTest\\SupportGuard";

struct KeyCleanup {
    ~KeyCleanup() { DeleteRegistryTree(HKEY_CURRENT_USER, kGuardKey); }
};

}  // namespace

TEST(SupportRegistry, GuardDeletesAValueThatDidNotExist)
{
    KeyCleanup cleanup;
    DeleteRegistryTree(HKEY_CURRENT_USER, kGuardKey);
    {
        RegistryValueGuard guard(HKEY_CURRENT_USER, kGuardKey, "Version");
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kGuardKey, "Version", "win31"));
        RegistryValue during = ReadRegistryValue(HKEY_CURRENT_USER, kGuardKey, "Version");
        EXPECT_TRUE(during.exists);
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), during.type);
        EXPECT_EQ(6u, during.data.size());  // terminator stored
        EXPECT_EQ("win31", during.text());
    }
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, kGuardKey, "Version").exists);
}

TEST(SupportRegistry, GuardRestoresTypeAndExactBytes)
{
    KeyCleanup cleanup;
    const BYTE original[] = {'a', 0, 'b', 0xFF};  // no terminator, a NUL inside
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kGuardKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Data", 0, REG_BINARY, original, sizeof original));
    RegCloseKey(key);
    {
        RegistryValueGuard guard(HKEY_CURRENT_USER, kGuardKey, "Data");
        ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kGuardKey, "Data", "changed"));
    }
    RegistryValue after = ReadRegistryValue(HKEY_CURRENT_USER, kGuardKey, "Data");
    EXPECT_TRUE(after.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), after.type);
    EXPECT_EQ(std::vector<BYTE>(original, original + sizeof original), after.data);
    EXPECT_EQ("a", after.text());
}

TEST(SupportRegistry, DeleteTreeRemovesSubKeys)
{
    KeyCleanup cleanup;
    const std::string deep = std::string(kGuardKey) + "\\One\\Two";
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, deep.c_str(), "x", "y"));
    EXPECT_TRUE(DeleteRegistryTree(HKEY_CURRENT_USER, kGuardKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kGuardKey));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, "Software"));
}

TEST(SupportFiles, TempFolderIsFreshAndGoesAway)
{
    std::string path;
    {
        TempFolder first("support-fresh");
        ASSERT_TRUE(WriteFileBytes(first / "left\\over.txt", "x"));
    }
    {
        TempFolder folder("support-fresh");
        path = folder.path();
        EXPECT_EQ("C:\\tinysetup-tests\\support-fresh\\", path);
        EXPECT_TRUE(FolderExists(path));
        EXPECT_FALSE(FileExists(folder / "left\\over.txt"));
        ASSERT_TRUE(WriteFileBytes(folder / "sub\\ro.txt", std::string("a\0b\r\n", 5)));
        EXPECT_EQ(std::string("a\0b\r\n", 5), ReadFileBytes(folder / "sub\\ro.txt"));
        SetFileAttributesA((folder / "sub\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        SetFileAttributesA((folder / "sub").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    EXPECT_FALSE(FolderExists(path));
}

TEST(SupportFiles, RemoveTreeRefusesDrivesOtherThanCAndShallowFolders)
{
    // A folder one level below C: with a file: refused, the file stays.
    const std::string shallow = "C:\\tinysetup-shallow-probe";
    CreateDirectoryA(shallow.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(shallow + "\\keep.txt", "keep"));
    EXPECT_FALSE(RemoveTree(shallow));
    EXPECT_FALSE(RemoveTree(shallow + "\\"));
    EXPECT_TRUE(FileExists(shallow + "\\keep.txt"));
    DeleteFileA((shallow + "\\keep.txt").c_str());
    RemoveDirectoryA(shallow.c_str());

    for (const char* path : {"C:\\", "C:", "Z:\\tmp\\tinysetup-absent\\x", "D:\\a\\b", "C:\\tinysetup-tests\\..\\windows",
                             "relative\\folder\\x"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(RemoveTree(path));
    }
    EXPECT_TRUE(FolderExists("C:\\windows"));
}

TEST(SupportText, ConversionsRoundTripThroughCodePage932)
{
    EXPECT_EQ("ゲームを削除します。\nよろしいですか？", Utf8FromAnsi(kUninstallQuestionText, 932));
    EXPECT_EQ(std::string(kUninstallQuestionText), AnsiFromUtf8("ゲームを削除します。\nよろしいですか？", 932));
    EXPECT_EQ(L"\x30B2\x30FC\x30E0", WideFromUtf8("ゲーム"));
    EXPECT_EQ("ゲーム", Utf8FromWide(L"\x30B2\x30FC\x30E0"));
    EXPECT_EQ("", Utf8FromAnsi(""));
}

TEST(SupportRecorder, RecordsEachRequestWithCopiedTextsAndAnswers)
{
    {
        MessageBoxRecorder recorder(IDCANCEL);
        char text[] = "first";
        EXPECT_EQ(IDCANCEL, ShowMessageBox(reinterpret_cast<HWND>(0x1234), text, nullptr, MB_ICONERROR));
        text[0] = 'X';  // the recording is a copy, not the caller's buffer
        recorder.setAnswer(IDYES);
        EXPECT_EQ(IDYES, ShowJapaneseMessageBox(nullptr, kUninstallQuestionText, kUninstallQuestionCaption, 932, MB_OKCANCEL));
        ASSERT_EQ(2u, recorder.boxes.size());
        EXPECT_EQ("first", recorder.boxes[0].text);
        EXPECT_FALSE(recorder.boxes[0].hasCaption);
        EXPECT_EQ(reinterpret_cast<HWND>(0x1234), recorder.boxes[0].owner);
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), recorder.boxes[0].style);
        EXPECT_EQ(static_cast<UINT>(CP_ACP), recorder.boxes[0].codePage);
        EXPECT_TRUE(recorder.boxes[1].hasCaption);
        EXPECT_EQ(932u, recorder.boxes[1].codePage);
        EXPECT_EQ("ゲームの削除", Utf8FromAnsi(recorder.boxes[1].caption, 932));
    }
    // A later recorder starts empty and takes over the hook.
    MessageBoxRecorder second;
    EXPECT_EQ(IDOK, ShowMessageBox(nullptr, "again", "Caption", MB_OK));
    ASSERT_EQ(1u, second.boxes.size());
    EXPECT_EQ("Caption", second.boxes[0].caption);
}
