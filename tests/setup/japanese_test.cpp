// Setup data under the Japanese code page (932): Shift-JIS values read from the setup
// information file and the registry, and double-byte characters whose second byte is 0x5C,
// which must never be taken for a "\" separator.
#include <gtest/gtest.h>
#include <string>

#include "setup/entries.h"
#include "setup/settings.h"
#include "setup_fixture.h"

namespace {

const char kOtherKey[] = "TinySetupTestOther";

class JapaneseSetupTest : public SetupDataTest {
protected:
    JapaneseSetupTest() : SetupDataTest("setup-japanese")
    {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, UninstallEntryPath(kOtherKey).c_str());
        SetRegistryString(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir", "D:\\Program Files");
    }
    ~JapaneseSetupTest() override { DeleteRegistryTree(HKEY_LOCAL_MACHINE, UninstallEntryPath(kOtherKey).c_str()); }

    // "パズル", "ソフト" (its first character is 0x83 0x5C) and "表" (0x95 0x5C).
    const std::string puzzle_ = AnsiFromUtf8("パズル", 932);
    const std::string soft_ = AnsiFromUtf8("ソフト", 932);
    const std::string table_ = AnsiFromUtf8("表", 932);
    RegistryValueGuard programFiles_{HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir"};
    MessageBoxRecorder boxes_;
};

TEST_F(JapaneseSetupTest, TheCodePageIsShiftJis)
{
    ASSERT_EQ(932u, GetACP());
    ASSERT_EQ(std::string("\x83\x5C\x83\x74\x83\x67"), soft_);
    ASSERT_EQ(std::string("\x95\x5C"), table_);
}

TEST_F(JapaneseSetupTest, ShiftJisValuesKeepTheirTrailBytes)
{
    const std::string folder = "\\Games\\" + soft_ + table_;
    WriteSetupFile("[Install]\r\nTitle=" + puzzle_ + "\r\nFolder=" + folder + "\r\nMenu=" + soft_ + "\r\n");
    ASSERT_TRUE(LoadSetupInformation(testPackage, Boxes()));
    EXPECT_EQ(puzzle_, testPackage.title);
    // The trail bytes 0x5C are neither cut as trailing separators nor replaced by "_".
    EXPECT_EQ(soft_ + table_, testPackage.installKey);
    // A folder ending in such a character gains its own separator.
    EXPECT_EQ("D:" + folder + "\\", installState.installDir);
    EXPECT_EQ(ShellFolder("Programs") + "\\" + soft_, installState.menuDir);
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(JapaneseSetupTest, ConflictNamesTheShiftJisDisplayName)
{
    const std::string title = "TinySetupTest " + puzzle_;
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, UninstallEntryPath(kOtherKey).c_str(), "DisplayName", title));
    WriteSetupFile("[Install]\r\nTitle=" + title + "\r\nFolder=Puzzle\r\nInstallKey=TinySetupTestPuzzle\r\n");
    EXPECT_FALSE(LoadSetupInformation(testPackage, Boxes()));
    ASSERT_EQ(1u, boxes_.boxes.size());
    EXPECT_NE(std::string::npos, boxes_.boxes[0].text.find(title)) << boxes_.boxes[0].text;
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes_.boxes[0].style);
}

TEST_F(JapaneseSetupTest, EntriesSplitOnlyAtRealCommasAndSeparators)
{
    RegistryValueGuard desktop(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop");
    const std::string desktopFolder = "C:\\tinysetup-tests\\" + table_;
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", desktopFolder));
    SetInstallDir("C:\\Apps\\" + soft_ + "\\");
    const std::string installDir = installState.installDir;

    WriteSetupFile("[Install]\r\n1=" + table_ + ".txt,d!" + soft_ + "\r\n2=" + soft_ + "\\" + table_ + ".txt\r\n" +
                   "[Group]\r\n1=" + soft_ + "," + table_ + ".EXE?0,/r\r\n2=" + table_ + "\r\n");
    EXPECT_TRUE(Resolve(1));
    EXPECT_EQ(table_ + ".txt", lastEntry.source);
    EXPECT_EQ(desktopFolder + "\\" + soft_, lastEntry.target);

    EXPECT_TRUE(Resolve(2));
    EXPECT_EQ(installDir + soft_ + "\\" + table_ + ".txt", lastEntry.target);

    EXPECT_TRUE(ResolveGroup(1));
    EXPECT_EQ(soft_, lastEntry.source);
    EXPECT_EQ(installDir + table_ + ".EXE?0,/r", lastEntry.target);

    EXPECT_TRUE(ResolveGroup(2));
    EXPECT_STREQ("", lastEntry.source);
    EXPECT_STREQ("", lastEntry.target);

    char out[kPathCapacity];
    EXPECT_EQ('d', ExpandPathMacro(("d!" + table_).c_str(), out, sizeof out));
    EXPECT_EQ(desktopFolder + "\\" + table_, out);
}

}  // namespace
