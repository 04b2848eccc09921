// Bytes that the file's code page cannot carry. The English file is read by every user whose
// language has no file of its own, under that user's code page, so only ASCII reads the same
// everywhere; the Japanese and Chinese files are read under code pages 932 and 950, where a
// lead byte must be followed by a valid trail byte. The own-name file is judged under the code
// page the check runs under.
#include "check/checks.h"

#include "base/text.h"
#include "check/report.h"

namespace {

constexpr UINT kJapanese = 932;
constexpr UINT kChinese = 950;

bool IsLeadByte(UINT codePage, unsigned char c)
{
    return codePage == kJapanese ? (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC) : c >= 0x81 && c <= 0xFE;
}

bool IsTrailByte(UINT codePage, unsigned char c)
{
    if (codePage == kJapanese)
        return c >= 0x40 && c <= 0xFC && c != 0x7F;
    return (c >= 0x40 && c <= 0x7E) || (c >= 0xA1 && c <= 0xFE);
}

// A single byte of its own: ASCII, and in code page 932 the half-width katakana.
bool IsSingleByte(UINT codePage, unsigned char c)
{
    return c < 0x80 || (codePage == kJapanese && c >= 0xA1 && c <= 0xDF);
}

// True when [start, end) is valid text of codePage; *backslashTrail tells whether a double-byte
// character in it ends in 0x5C, the byte of "\".
bool IsValidText(UINT codePage, const char* start, const char* end, bool* backslashTrail)
{
    for (const char* p = start; p < end; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (IsSingleByte(codePage, c))
            continue;
        if (!IsLeadByte(codePage, c) || p + 1 >= end || !IsTrailByte(codePage, static_cast<unsigned char>(p[1])))
            return false;
        if (p[1] == '\\')
            *backslashTrail = true;
        ++p;
    }
    return true;
}

bool HasHighBytes(const char* start, const char* end)
{
    for (const char* p = start; p < end; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return true;
    }
    return false;
}

// The code page that file's bytes are judged under; 0 when no double-byte page applies.
UINT JudgedCodePage(const CheckedFile& file)
{
    if (file.codePage != 0)
        return file.codePage;
    UINT active = GetACP();
    return active == kJapanese || active == kChinese ? active : 0;
}

void ReportLine(const InfLine& line, const char* text, const char* text2 = "", const char* text3 = "",
                const char* text4 = "")
{
    char section[kPathCapacity];
    char key[kPathCapacity];
    size_t length = static_cast<size_t>(line.sectionLength) < sizeof section ? line.sectionLength : sizeof section - 1;
    CopyMemory(section, line.section, length);
    section[length] = '\0';
    KeyText(line, key, sizeof key);
    Report(Severity::Warning, line.number, section, key, text, text2, text3, text4);
}

}  // namespace

void CheckCodePage(const CheckedFile& file)
{
    UINT codePage = JudgedCodePage(file);
    char codePageText[16];
    CopyText(codePageText, NumberText(codePage));
    bool mismatchReported = false;
    InfLine line;
    while (NextLine(file.text, line)) {
        if (line.key == nullptr || !HasHighBytes(line.start, line.end))
            continue;
        if (file.asciiOnly) {
            ReportLine(line, "bytes beyond ASCII: this file is read under every user's code page, where they stand for other characters");
            continue;
        }
        bool backslashTrail = false;
        if (codePage != 0 && !IsValidText(codePage, line.start, line.end, &backslashTrail)) {
            ReportLine(line, "bytes that are not valid text in code page ", codePageText, ": the name is garbled");
            continue;
        }
        // The checks above judged the bytes under the file's own code page; the installer's
        // reader, run here, splits paths under this process's code page.
        if (backslashTrail && codePage != GetACP() && !mismatchReported) {
            char active[16];
            CopyText(active, NumberText(GetACP()));
            ReportLine(line, "a double-byte character ends in the byte of \"\\\", which code page ", active,
                       " takes for a separator: run the check under code page ", codePageText);
            mismatchReported = true;
        }
    }
}
