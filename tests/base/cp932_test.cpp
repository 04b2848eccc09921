// Under the Japanese code page a double-byte character's trail byte may be 0x5C ("\"); no
// search may take it for a separator.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/path.h"
#include "base/text.h"

namespace {

// "表" is 0x95 0x5C in code page 932; "ソ" is 0x83 0x5C.
const char kHyo[] = "\x95\x5C";

TEST(Cp932, TrailByteIsNeverASeparator)
{
    ASSERT_EQ(932u, GetACP());
    std::string path = std::string("C:\\") + kHyo + "\\" + kHyo + "\x83\x5C";  // C:\表\表ソ
    const char* text = path.c_str();
    EXPECT_EQ(text + 2, FindFirstSeparator(text));
    EXPECT_EQ(text + 5, FindLastSeparator(text));
    EXPECT_STREQ((std::string(kHyo) + "\x83\x5C").c_str(), FileNamePart(text));

    std::string folder = std::string("C:\\") + kHyo;  // ends in a trail byte 0x5C
    char buffer[kPathCapacity];
    CopyText(buffer, folder.c_str());
    ASSERT_TRUE(AppendPathPart(buffer, "a"));
    EXPECT_EQ(folder + "\\a", buffer);

    CopyText(buffer, folder.c_str());
    ReplaceChar(buffer, '\\', '_');
    EXPECT_EQ(std::string("C:_") + kHyo, buffer);

    std::string named = std::string(kHyo) + ".txt";
    EXPECT_STREQ(".txt", ExtensionPart(named.c_str()));
}

TEST(Cp932, TrimKeepsDoubleByteCharactersWhole)
{
    ASSERT_EQ(932u, GetACP());
    // 0x81 0x40 is the ideographic space: a double-byte character whose first byte is no white
    // space, so it stays.
    char text[32] = " \x95\x5C\x81\x40 ";
    TrimSpaces(text);
    EXPECT_STREQ("\x95\x5C\x81\x40", text);
}

TEST(Cp932, StripToProgramPathSkipsTrailBytes)
{
    ASSERT_EQ(932u, GetACP());
    // The quoted path ends in a folder whose name ends with the trail byte 0x5C.
    char line[64] = "\"C:\\\x95\x5C\\SETUP.EXE\" /r";
    StripToProgramPath(line);
    EXPECT_STREQ("C:\\\x95\x5C\\SETUP.EXE", line);
}

}  // namespace
