// Numbered keys that the reader never reaches. The installer and the uninstaller read keys
// 1, 2, 3, ... up to the first one that is absent or empty: everything after a gap is silently
// never installed, made or removed, and so is a key with a leading zero or a repeated number.
#include "check/checks.h"

#include "base/text.h"
#include "check/report.h"

namespace {

constexpr int kLongestNumber = 9;

bool IsBlankValue(const InfLine& line)
{
    if (line.value == nullptr)
        return true;
    for (const char* p = line.value; p < line.end; ++p) {
        if (!IsWhiteSpace(*p) && *p != '"')
            return false;
    }
    return true;
}

// The key's number; -1 when it is not all digits, 0 for a leading zero, kNoNumber when longer
// than any list.
int KeyNumber(const InfLine& line)
{
    if (line.keyLength == 0)
        return -1;
    int number = 0;
    for (int i = 0; i < line.keyLength; ++i) {
        char c = line.key[i];
        if (c < '0' || c > '9')
            return -1;
        if (i < kLongestNumber)
            number = number * 10 + (c - '0');
    }
    if (line.key[0] == '0')
        return 0;
    return line.keyLength > kLongestNumber ? 0x7FFFFFFF : number;
}

}  // namespace

void CheckNumbering(const CheckedFile& file, const char* section, int count)
{
    char end[16];
    CopyText(end, NumberText(static_cast<unsigned>(count + 1)));
    InfLine line;
    while (NextLine(file.text, line)) {
        if (line.key == nullptr || !InSection(line, section))
            continue;
        int number = KeyNumber(line);
        if (number < 0)
            continue;
        char key[kPathCapacity];
        KeyText(line, key, sizeof key);
        if (number == 0) {
            Report(Severity::Error, line.number, section, key, "a number with a leading zero is never read (write plain decimal numbers)");
        } else if (number > count) {
            if (!IsBlankValue(line))
                Report(Severity::Error, line.number, section, key, "never reached: the list ends at ", end,
                       ", which is missing or empty");
        } else if (LineOf(file.text, section, key) != line.number) {
            Report(Severity::Error, line.number, section, key, "a second entry with this number: only the first one is read");
        }
    }
}
