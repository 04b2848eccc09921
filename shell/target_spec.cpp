// Target specification parser. The searches step over double-byte characters whole, so that a
// trail byte equal to "?", "," or "=" in a Japanese or Chinese name is never taken for one.
#include "shell/target_spec.h"

#include <windows.h>

#include "base/text.h"

namespace {

constexpr int kLargestIconIndex = 0x7FFFFFFF;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number formed by the leading digits; an index beyond what the shell can take stays at
// the largest one rather than wrapping round to a negative number.
int LeadingNumber(const char* text)
{
    int number = 0;
    for (const char* p = text; IsDigit(*p); ++p) {
        int digit = *p - '0';
        if (number > (kLargestIconIndex - digit) / 10)
            return kLargestIconIndex;
        number = number * 10 + digit;
    }
    return number;
}

}  // namespace

void ParseTargetSpec(char* text, TargetSpec* spec)
{
    spec->path = text;
    spec->arguments = nullptr;
    spec->iconFile = nullptr;
    spec->workingFolder = nullptr;
    spec->iconIndex = -1;

    char* comma = FindChar(text, ',');
    if (comma != nullptr) {
        *comma = '\0';
        spec->arguments = TrimSpaces(comma + 1);
    }

    // Every "?" ends the piece before it; cut them all first, then walk the pieces.
    char* end = text + lstrlenA(text);
    for (char* mark = FindChar(text, '?'); mark != nullptr; mark = FindChar(mark + 1, '?'))
        *mark = '\0';
    for (char* cut = text + lstrlenA(text); cut < end;) {
        char* option = cut + 1;
        char* optionEnd = option + lstrlenA(option);
        while (*option && IsWhiteSpace(*option))
            ++option;
        if (IsDigit(*option)) {
            spec->iconIndex = LeadingNumber(option);
            char* equals = FindChar(option, '=');
            spec->iconFile = equals ? TrimSpaces(equals + 1) : nullptr;
        } else {
            spec->workingFolder = TrimSpaces(option);
        }
        cut = optionEnd;
    }
    TrimSpaces(spec->path);
}
