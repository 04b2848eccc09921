// Text routines over narrow strings in the active ANSI code page.
#include "base/text.h"

#include <windows.h>

bool IsWhiteSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

void ReplaceChar(char* text, char find, char repl)
{
    for (char* p = text; *p;) {
        if (*p == find) {
            *p = repl;
            continue;  // search again from the hit itself
        }
        p = CharNextA(p);
    }
}

char* FindChar(char* text, char wanted)
{
    for (char* p = text; *p; p = CharNextA(p)) {
        if (*p == wanted)
            return p;
    }
    return nullptr;
}

char* TrimSpaces(char* text)
{
    char* start = text;
    while (*start && IsWhiteSpace(*start))
        start = CharNextA(start);
    char* end = start;
    for (char* p = start; *p;) {
        bool space = IsWhiteSpace(*p);
        p = CharNextA(p);
        if (!space)
            end = p;
    }
    *end = '\0';
    if (start != text)
        MoveMemory(text, start, end - start + 1);
    return text;
}

const char* NumberText(unsigned n)
{
    static char buffer[32];
    wsprintfA(buffer, "%u", n);
    return buffer;
}
