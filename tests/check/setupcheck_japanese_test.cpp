// setupcheck on a Japanese package, read under code page 932: folder, file and shortcut names
// whose characters end in the byte of "\" are judged as the installer reads them (whole), and
// the one name that is not valid Shift-JIS is the only finding.
#include <gtest/gtest.h>

#include "setupcheck_run.h"

TEST(SetupCheckJa, JapanesePackageReadUnderCodePage932)
{
    ASSERT_EQ(932u, GetACP());
    TempFolder package("setupcheck-japanese");
    TempFolder scratch("setupcheck-japanese-report");
    // 表 (95 5C) and ソ (83 5C) end in the byte of "\".
    const std::string program = AnsiFromUtf8(u8"表.exe");
    const std::string data = AnsiFromUtf8(u8"データ\\表.dat");
    ASSERT_TRUE(WriteFileBytes(package / program, "x"));
    ASSERT_TRUE(WriteFileBytes(package / data, "x"));
    const std::vector<std::string> inf = {
        "[Install]",
        AnsiFromUtf8(u8"Title=表計算ソフト"),
        AnsiFromUtf8(u8"Folder=表ソフト\\表計算"),
        AnsiFromUtf8(u8"1=表.exe"),
        AnsiFromUtf8(u8"2=データ\\表.dat,データ\\ソ.dat"),
        "[Group]",
        AnsiFromUtf8(u8"1=表計算,表.exe?0"),
        AnsiFromUtf8(u8"2=ソ.dat,データ\\ソ.dat"),
        "3=\x81 Name," + program,
    };
    ASSERT_TRUE(WriteFileBytes(package / "SETUPJ.INF", JoinLines(inf)));

    CheckReport report = RunSetupCheck("\"" + package.path() + "\"", scratch);
    EXPECT_EQ(1, report.exitCode) << report.all;
    ASSERT_EQ(2u, report.lines.size()) << report.all;
    EXPECT_EQ(0u, report.lines[0].find("SETUPJ.INF:9: warning: [Group] 3: bytes that are not valid text in code page 932"))
        << report.lines[0];
    EXPECT_EQ("0 errors, 1 warnings", report.lines[1]);
}
