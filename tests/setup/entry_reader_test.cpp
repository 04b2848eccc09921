// The entry reader against the platform's profile reader: every numbered key of a set of setup
// information files, read both ways with the buffer sizes the program reads entries with, must
// give the same length and, where the value fits, the same bytes. The files are written one
// after another under one path, so a copy kept from an earlier file would show too. Run under
// code page 932 for the Shift-JIS rows; the others read alike under any code page.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "setup/entry_reader.h"
#include "setup_fixture.h"

namespace {

struct ReaderCase {
    const char* name;
    std::string text;
    const char* section;  // the section name asked for
    unsigned lastKey;     // keys 0 to lastKey + 1 are compared
};

std::string Line(unsigned key, const std::string& value) { return std::to_string(key) + "=" + value + "\r\n"; }

std::string Long(size_t length, char fill = 'x') { return std::string(length, fill); }

std::string Quoted(const std::string& inner) { return "\"" + inner + "\""; }

std::vector<ReaderCase> Cases()
{
    std::vector<ReaderCase> cases;
    cases.push_back({"spaces around '='",
                     "[Install]\r\n  1  =  a b  \r\n2=\t x\t\r\n3 = \r\n4=b = c\r\n5\r\n6 =\r\n 7 =seven\r\n", "Install", 7});
    cases.push_back({"duplicate keys: the first one wins",
                     "[Install]\r\n1=first\r\n2=two\r\n1=second\r\n3=three\r\n2=again\r\n", "Install", 3});
    cases.push_back({"case of the section name", "[iNSTALL]\r\n1=x\r\n2=y\r\n", "install", 2});
    cases.push_back({"quotes",
                     "[Install]\r\n1=\"a b\"\r\n2='c d'\r\n3=\"mixed'\r\n4=\"\r\n5=\"\"\r\n6=\" spaced \"\r\n"
                     "7=x\"y\"\r\n8=\"a\"b\"\r\n9='\r\n10=''\r\n11= \"in spaces\" \r\n",
                     "Install", 11});
    std::string lengths = "[Install]\r\n";
    unsigned key = 0;
    for (size_t length : {258, 259, 260, 261, 300})
        lengths += Line(++key, Long(length));
    for (size_t length : {256, 257, 258})
        lengths += Line(++key, Quoted(Long(length, 'q')));
    cases.push_back({"values about the buffer sizes", lengths, "Install", key});
    cases.push_back({"gaps and keys that only look numbered",
                     "[Install]\r\n1=a\r\n3=c\r\n01=zero one\r\n+2=plus\r\n;4=comment\r\n5 x=inner space\r\n9=nine\r\n"
                     "[Other]\r\n2=other\r\n4=other\r\n",
                     "Install", 12});
    cases.push_back({"the section twice", "[Install]\r\n1=a\r\n[Other]\r\nx=y\r\n[Install]\r\n1=b\r\n2=c\r\n", "Install", 3});
    cases.push_back({"no such section", "[Other]\r\n1=a\r\n", "Install", 2});

    std::string large = "[Install]\r\n";
    const unsigned largeCount = 3000;
    for (unsigned i = 1; i <= largeCount; ++i)
        large += Line(i, "data\\folder" + std::to_string(i % 20) + "\\file" + std::to_string(i) + ".bin,sub\\file.bin");
    cases.push_back({"a section over 64 KiB", large, "Install", largeCount});

    // "ソフト" and "表" end their first character with the byte 0x5C; "　" is the ideographic space.
    const std::string soft = AnsiFromUtf8("ソフト", 932);
    const std::string table = AnsiFromUtf8("表", 932);
    const std::string wideSpace = AnsiFromUtf8("　", 932);
    std::string japanese = "[Install]\r\n" + Line(1, table + ".txt,d!" + soft) + Line(2, Quoted(soft + " " + table)) +
                           Line(3, wideSpace + soft + wideSpace) + Line(4, "\x1a" + table + "\x1a");
    key = 4;
    // 129, 130 and 131 double-byte characters: 258, 260 and 262 bytes.
    for (size_t characters : {129, 130, 131}) {
        std::string value;
        for (size_t i = 0; i < characters; ++i)
            value += table;
        japanese += Line(++key, value);
    }
    japanese += AnsiFromUtf8("[インストール]\r\n", 932) + Line(1, soft);
    cases.push_back({"Shift-JIS text", japanese, "Install", key});
    return cases;
}

class EntryReaderTest : public SetupDataTest {
protected:
    EntryReaderTest() : SetupDataTest("entry-reader") {}
};

TEST_F(EntryReaderTest, AnswersEveryNumberedKeyAsTheProfileReaderDoes)
{
    ASSERT_EQ(932u, GetACP());
    for (const ReaderCase& row : Cases()) {
        WriteSetupFile(row.text);
        for (DWORD capacity : {DWORD(kPathCapacity + 1), DWORD(kPathCapacity)}) {
            for (unsigned key = 0; key <= row.lastKey + 1; ++key) {
                char expected[kPathCapacity + 1];
                char actual[kPathCapacity + 1];
                DWORD expectedLength = GetPrivateProfileStringA(row.section, std::to_string(key).c_str(), "", expected,
                                                                capacity, testPackage.infPath);
                DWORD actualLength = ReadNumberedEntry(testPackage.infPath, row.section, key, actual, capacity);
                SCOPED_TRACE(std::string(row.name) + ", key " + std::to_string(key) + ", buffer " +
                             std::to_string(capacity));
                ASSERT_EQ(expectedLength, actualLength) << "profile reader: " << expected << "\nentry reader: " << actual;
                // A value cut to the buffer is refused by every caller; its bytes do not matter.
                if (expectedLength < capacity - 1) {
                    ASSERT_STREQ(expected, actual);
                }
            }
        }
    }
}

// Quotes do not make a value fit. Wine's profile reader takes the quotes off after cutting the
// value to the buffer, and so hands back a value one character short as if it had fitted; the
// entry reader refuses it like any other value too long. Since the two differ here, this also
// shows that the keys of a large section are answered from the section's copy.
TEST_F(EntryReaderTest, RefusesAQuotedValueTooLongForTheBuffer)
{
    std::string text = "[Install]\r\n";
    const unsigned filler = 3000;
    for (unsigned i = 1; i <= filler; ++i)
        text += Line(i, "data\\file" + std::to_string(i) + ".bin,data\\copy" + std::to_string(i) + ".bin");
    text += Line(filler + 1, Quoted(Long(kPathCapacity, 'q'))) + Line(filler + 2, Quoted(Long(300, 'q'))) +
            Line(filler + 3, Quoted(Long(kPathCapacity - 1, 'q')));
    WriteSetupFile(text);
    ASSERT_GT(text.size(), 65536u);
    char out[kPathCapacity + 1];
    EXPECT_EQ(kPathCapacity, ReadNumberedEntry(testPackage.infPath, "Install", filler + 1, out, sizeof out));
    EXPECT_EQ(kPathCapacity, ReadNumberedEntry(testPackage.infPath, "Install", filler + 2, out, sizeof out));
    EXPECT_EQ(kPathCapacity - 1, ReadNumberedEntry(testPackage.infPath, "Install", filler + 3, out, sizeof out));
    EXPECT_EQ(Long(kPathCapacity - 1, 'q'), out);
    EXPECT_EQ(29u, ReadNumberedEntry(testPackage.infPath, "Install", 7, out, sizeof out));
    EXPECT_STREQ("data\\file7.bin,data\\copy7.bin", out);
}

}  // namespace
