// Path routines on tables of cases: finders, building paths, and their refusals at the limit.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/path.h"
#include "base/text.h"

namespace {

std::string Offset(const char* text, const char* hit)
{
    return hit ? std::to_string(hit - text) : "null";
}

struct FinderCase {
    const char* text;
    const char* first;  // offsets as text, "null" when none
    const char* last;
    const char* root;
};

TEST(PathFinders, SeparatorsAndRoots)
{
    const FinderCase cases[] = {
        {"C:\\Data\\x", "2", "7", "2"},
        {"C:/Data", "2", "2", "2"},
        {"C:\\Data/x\\y", "2", "9", "2"},
        {"\\\\srv\\share\\dir", "0", "11", "11"},
        {"\\\\srv\\share", "0", "5", "null"},
        {"\\\\srv", "0", "1", "null"},
        {"\\dir", "0", "0", "0"},
        {"dir\\x", "3", "3", "null"},
        {"C:dir", "1", "1", "null"},
        {"C:", "1", "1", "null"},
        {"C:a", "1", "1", "null"},
        {"1:a", "null", "null", "null"},
        {"plain", "null", "null", "null"},
        {"", "null", "null", "null"},
    };
    for (const FinderCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.first, Offset(c.text, FindFirstSeparator(c.text)));
        EXPECT_EQ(c.last, Offset(c.text, FindLastSeparator(c.text)));
        EXPECT_EQ(c.root, Offset(c.text, FindRootEnd(c.text)));
    }
}

TEST(PathFinders, FileNameAndExtension)
{
    struct Case { const char* path; const char* name; const char* extension; };
    const Case cases[] = {
        {"C:\\dir\\a.b.c", "a.b.c", ".c"},
        {"C:name", "name", nullptr},
        {"C:\\dir\\", "", nullptr},
        {"dir.x\\file", "file", nullptr},
        {".profile", ".profile", nullptr},
        {"a.", "a.", "."},
        {".", ".", nullptr},
        {"..", "..", nullptr},
        {"C:\\x\\..", "..", nullptr},
        {"SETUP.EXE", "SETUP.EXE", ".EXE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(c.name, FileNamePart(c.path));
        const char* extension = ExtensionPart(c.path);
        if (c.extension == nullptr)
            EXPECT_EQ(nullptr, extension);
        else
            EXPECT_STREQ(c.extension, extension);
    }
}

TEST(PathBuilding, AppendPathPart)
{
    struct Case { const char* path; const char* part; const char* result; };
    const Case cases[] = {
        {"C:\\dir", "x", "C:\\dir\\x"},
        {"C:\\dir\\", "x", "C:\\dir\\x"},
        {"dir/", "x", "dir/x"},
        {"C:", "x", "C:x"},
        {"", "x", "\\x"},
        {"", "", "\\"},
        {"C:\\dir", "", "C:\\dir\\"},
        {"C:\\dir\\", "", "C:\\dir\\"},
    };
    for (const Case& c : cases) {
        char buffer[kPathCapacity];
        CopyText(buffer, c.path);
        EXPECT_TRUE(AppendPathPart(buffer, c.part)) << c.path << " + " << c.part;
        EXPECT_STREQ(c.result, buffer) << c.path << " + " << c.part;
    }
}

TEST(PathBuilding, AppendPathPartRefusesWhatDoesNotFit)
{
    // 8 bytes hold 7 characters: "C:\a" + "\" + "bc" fits exactly, one more does not.
    char buffer[8] = "C:\\a";
    EXPECT_TRUE(AppendPathPart(buffer, sizeof buffer, "bc"));
    EXPECT_STREQ("C:\\a\\bc", buffer);
    char refused[8] = "C:\\a";
    EXPECT_FALSE(AppendPathPart(refused, sizeof refused, "bcd"));
    EXPECT_STREQ("C:\\a", refused);
}

TEST(PathBuilding, ReplaceExtension)
{
    struct Case { const char* path; const char* result; };
    const Case cases[] = {
        {"SETUP.EXE", "SETUP.INF"},
        {"SETUP", "SETUP.INF"},
        {"a.b.c", "a.b.INF"},
        {".cfg", ".cfg.INF"},
        {"..", "...INF"},
        {"C:\\dir.d\\SETUP", "C:\\dir.d\\SETUP.INF"},
    };
    for (const Case& c : cases) {
        char buffer[kPathCapacity];
        CopyText(buffer, c.path);
        EXPECT_TRUE(ReplaceExtension(buffer, "INF")) << c.path;
        EXPECT_STREQ(c.result, buffer) << c.path;
    }
    char small[10] = "SETUP";  // "SETUP.INF" needs exactly 10 bytes
    EXPECT_TRUE(ReplaceExtension(small, sizeof small, "INF"));
    char tooSmall[10] = "SETUPX";
    EXPECT_FALSE(ReplaceExtension(tooSmall, sizeof tooSmall, "INF"));
    EXPECT_STREQ("SETUPX", tooSmall);
}

TEST(PathBuilding, NormalizeFolderPath)
{
    struct Case { const char* path; const char* result; };
    const Case cases[] = {
        {"C:\\a\\b\\", "C:\\a\\b"},
        {"C:\\a\\", "C:\\a"},
        {"C:\\", "C:\\"},
        {"C:\\a\\.\\b\\..\\c", "C:\\a\\c"},
        {"\\\\srv\\share\\", "\\\\srv\\share"},
    };
    for (const Case& c : cases) {
        char buffer[kPathCapacity];
        CopyText(buffer, c.path);
        EXPECT_TRUE(NormalizeFolderPath(buffer)) << c.path;
        EXPECT_STREQ(c.result, buffer) << c.path;
    }
}

TEST(PathBuilding, NormalizeFolderPathRefusesAFullPathTooLong)
{
    // A relative name that only becomes too long once the current directory is put before it.
    std::string longName(250, 'n');
    char buffer[kPathCapacity];
    CopyText(buffer, longName.c_str());
    char current[kPathCapacity];
    GetCurrentDirectoryA(sizeof current, current);
    SetCurrentDirectoryA("C:\\windows");
    EXPECT_FALSE(NormalizeFolderPath(buffer));
    SetCurrentDirectoryA(current);
    EXPECT_EQ(longName, buffer);
}

TEST(PathBuilding, StripToProgramPath)
{
    struct Case { const char* line; const char* result; };
    const Case cases[] = {
        {"\"C:\\Program Files\\App\\SETUP.EXE\" /r", "C:\\Program Files\\App\\SETUP.EXE"},
        {"C:\\App\\SETUP.EXE /r", "C:\\App\\SETUP.EXE"},
        {"  \t C:\\App\\SETUP.EXE", "C:\\App\\SETUP.EXE"},
        {"C:\\App\\SETUP.EXE\t/r", "C:\\App\\SETUP.EXE\t/r"},
        {"\"C:\\No End", "C:\\No End"},
        {"\"\"x\" y", "\"x"},  // the first byte after the opening quote never closes it
        {"", ""},
    };
    for (const Case& c : cases) {
        char buffer[kPathCapacity];
        CopyText(buffer, c.line);
        StripToProgramPath(buffer);
        EXPECT_STREQ(c.result, buffer) << "[" << c.line << "]";
    }
}

TEST(PathBuilding, JoinPathAndBoundedCopies)
{
    char out[12];
    EXPECT_TRUE(JoinPath(out, sizeof out, "C:\\a", "b.txt"));
    EXPECT_STREQ("C:\\a\\b.txt", out);
    EXPECT_FALSE(JoinPath(out, sizeof out, "C:\\abc", "b.txt"));
    EXPECT_STREQ("", out);

    char text[4] = "ab";
    EXPECT_FALSE(AppendText(text, sizeof text, "cd"));
    EXPECT_STREQ("ab", text);
    EXPECT_TRUE(AppendText(text, sizeof text, "c"));
    EXPECT_STREQ("abc", text);
    EXPECT_FALSE(CopyText(text, sizeof text, "abcd"));
    EXPECT_STREQ("abc", text);
}

TEST(Text, ReplaceCharTrimAndNumbers)
{
    char key[] = "Acme/Puzzle\\Deluxe";
    ReplaceChar(key, '/', '_');
    ReplaceChar(key, '\\', '_');
    EXPECT_STREQ("Acme_Puzzle_Deluxe", key);

    struct Case { const char* text; const char* result; };
    const Case cases[] = {
        {"  a b \t", "a b"},
        {"\r\n\v\f", ""},
        {"plain", "plain"},
        {"", ""},
        {" x", "x"},
    };
    for (const Case& c : cases) {
        char buffer[32];
        CopyText(buffer, c.text);
        EXPECT_STREQ(c.result, TrimSpaces(buffer)) << "[" << c.text << "]";
    }

    const char* first = NumberText(0);
    EXPECT_STREQ("0", first);
    EXPECT_STREQ("4294967295", NumberText(4294967295u));
    EXPECT_STREQ("4294967295", first);  // one shared buffer
}

}  // namespace
