// The version reader and the about box's product line. Built into an English and a Japanese
// suite: the language fallback is checked against the user's language of the run.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "wizard/about_box.h"

namespace {

constexpr LANGID kEnglish = 0x0409;
constexpr LANGID kJapanese = 0x0411;

bool IsJapaneseRun()
{
    return GetUserDefaultLangID() == kJapanese;
}

std::string OrNone(const char* text)
{
    return text == nullptr ? std::string("(none)") : std::string(text);
}

// wizard_frame_versions.dll lists German/1252, English/1252, English/Unicode, Japanese with
// code page 0 and neutral/Unicode, in this order (see frame_versions.rc).
struct FallbackCase {
    const char* name;
    const char* english;   // what an English user gets
    const char* japanese;  // what a Japanese user gets
};

TEST(WizardFrameVersion, LanguageFallbackOfTheStrings)
{
    LANGID user = GetUserDefaultLangID();
    ASSERT_TRUE(user == kEnglish || user == kJapanese) << "user language " << std::hex << user;
    VersionInfo version(FRAME_VERSIONS_DLL);
    ASSERT_TRUE(version.IsLoaded());
    ASSERT_EQ(5u, version.TranslationCount());

    const FallbackCase cases[] = {
        // The user's last pair wins (English/Unicode over English/1252). A Japanese pair with
        // code page 0 is no match, so the neutral table answers.
        {"Everywhere", "english", "neutral"},
        {"UserOnly", "english", ""},
        {"UserNeutral", "english", "neutral"},
        {"NeutralOnly", "neutral", "neutral"},
        // Neither the user's nor the neutral table has it: the first pair listed.
        {"FirstOnly", "german first", "german first"},
        {"JapaneseOnly", "german japanese", "german japanese"},
        // Tables the list does not name are never reached.
        {"Unlisted", "", ""},
        {"Missing", "", ""},
    };
    for (const FallbackCase& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(std::string(IsJapaneseRun() ? row.japanese : row.english), version.QueryString(row.name));
    }
}

TEST(WizardFrameVersion, QueryStringForOneTable)
{
    VersionInfo version(FRAME_VERSIONS_DLL);
    ASSERT_TRUE(version.IsLoaded());
    struct Row {
        const char* name;
        WORD language, codePage;
        const char* expected;  // nullptr: none
    } rows[] = {
        {"Unlisted", 0x0411, 0x04B0, "japanese"},
        {"Everywhere", 0x0411, 0x0000, "japanese 0"},
        {"Everywhere", 0x0409, 0x04E4, "english 1252"},
        {"Everywhere", 0x0000, 0x04B0, "neutral"},
        {"NeutralOnly", 0x0409, 0x04B0, nullptr},
        {"Everywhere", 0x0000, 0x0000, nullptr},
        {"Everywhere", 0x040C, 0x04B0, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " in " + std::to_string(row.language) + "/" + std::to_string(row.codePage));
        EXPECT_EQ(OrNone(row.expected), OrNone(version.QueryStringFor(row.name, row.language, row.codePage)));
    }
    // A name that cannot be formed into the 260-byte sub-block path is no value, not a cut one.
    std::string longName(240, 'E');
    EXPECT_EQ(nullptr, version.QueryStringFor(longName.c_str(), 0x0000, 0x04B0));
}

TEST(WizardFrameVersion, FileWithoutVersionResourceGivesEmptyStrings)
{
    TempFolder folder("wizard_frame_version_none");
    ASSERT_TRUE(WriteFileBytes(folder / "plain.txt", "no resources here"));
    const std::string paths[] = {folder / "plain.txt", folder / "missing.exe"};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        VersionInfo version(path.c_str());
        EXPECT_FALSE(version.IsLoaded());
        EXPECT_EQ(0u, version.TranslationCount());
        EXPECT_EQ(nullptr, version.QueryStringFor("ProductName", 0x0411, 0x04B0));
        EXPECT_STREQ("", version.QueryString("ProductName"));
    }
}

// The program's own resource lists only Japanese/Unicode; its English table is never read,
// and an English user reaches the Japanese table as the first pair listed.
TEST(WizardFrameVersion, ProgramsOwnResource)
{
    VersionInfo version(SETUP_EXE_PATH);
    ASSERT_TRUE(version.IsLoaded());
    ASSERT_EQ(1u, version.TranslationCount());
    EXPECT_EQ(0x0411, version.Translations()[0]);
    EXPECT_EQ(0x04B0, version.Translations()[1]);
    EXPECT_EQ(nullptr, version.QueryStringFor("ProductName", 0, 0x04B0));
    EXPECT_EQ(nullptr, version.QueryStringFor("SpecialBuild", 0x0411, 0x04B0));
    EXPECT_STREQ("", version.QueryString("SpecialBuild"));
    const char* keys[] = {"ProductName", "ProductVersion", "FileVersion", "LegalCopyright", "Comments"};
    for (const char* key : keys) {
        SCOPED_TRACE(key);
        const char* japanese = version.QueryStringFor(key, 0x0411, 0x04B0);
        ASSERT_NE(nullptr, japanese);
        EXPECT_NE(std::string(), japanese);
        EXPECT_EQ(std::string(japanese), version.QueryString(key));
    }
}

struct ProductLineCase {
    const char* label;
    std::string product, version, special, build;
    size_t capacity;
    bool fits;
    std::string expected;
};

TEST(WizardFrameVersion, ProductLine)
{
    std::string name990(990, 'P');
    std::string name2000(2000, 'P');
    const std::string exact = "Pondway\n\n2.0  (Build: 2.0.1)";
    const ProductLineCase cases[] = {
        {"without SpecialBuild: two blanks", "Pondway", "2.0", "", "2.0.1", 1000, true, exact},
        {"with SpecialBuild", "Pondway", "2.0", "beta 3", "2.0.1", 1000, true, "Pondway\n\n2.0 beta 3 (Build: 2.0.1)"},
        {"everything empty", "", "", "", "", 1000, true, "\n\n  (Build: )"},
        {"exactly fits", "Pondway", "2.0", "", "2.0.1", exact.size() + 1, true, exact},
        {"one byte short", "Pondway", "2.0", "", "2.0.1", exact.size(), false, ""},
        {"long name over the 1000 bytes", name990, "2.0", "", "2.0.1", 1000, false, ""},
        {"name longer than the formatter's own limit", name2000, "2.0", "", "2.0.1", 1000, false, ""},
    };
    for (const ProductLineCase& row : cases) {
        SCOPED_TRACE(row.label);
        std::string buffer(1100, '#');
        bool fits = FormatProductLine(&buffer[0], row.capacity, row.product.c_str(), row.version.c_str(),
                                      row.special.c_str(), row.build.c_str());
        EXPECT_EQ(row.fits, fits);
        if (row.fits) {
            EXPECT_EQ(row.expected, std::string(buffer.c_str()));
            EXPECT_EQ('#', buffer[row.capacity]) << "written past the capacity";
        }
        else
            EXPECT_EQ(std::string(1100, '#'), buffer) << "refused line must leave the buffer alone";
    }
}

}  // namespace
