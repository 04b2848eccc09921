// The raw text of a setup information file, scanned line by line. The installer reads values
// through the platform's profile reader, which tells no line numbers; the check finds the line
// of each section and key here, as the reader matches them (names without regard to case,
// blanks around them dropped, the first occurrence counting).
#pragma once

#include <windows.h>

#include "base/handle.h"

// Owner of the file's bytes (read whole, freed on destruction).
class InfText {
public:
    // False when the file cannot be read (or is too large to be a setup information file).
    bool Load(const char* path);

    const char* bytes = nullptr;  // in block, terminated
    DWORD size = 0;

private:
    HeapBlock block;
};

// One line of the text. section is the name of the section the line lies in (empty before the
// first one); key is set for a "key=value" line (without "=", the whole line is the key).
struct InfLine {
    int number = 0;
    const char* start = nullptr;  // the line without its line break
    const char* end = nullptr;
    const char* section = nullptr;
    int sectionLength = 0;
    const char* key = nullptr;    // null for blank, comment and section lines
    int keyLength = 0;
    const char* value = nullptr;  // after "=", up to end; null without "="
    bool isSectionHeader = false;
};

// Steps through the lines: call with line.number 0 to begin; false after the last line.
bool NextLine(const InfText& text, InfLine& line);

// True when the line's section is named section / its key is named key (ASCII letters compared
// without regard to case).
bool InSection(const InfLine& line, const char* section);
bool HasKey(const InfLine& line, const char* key);

// The line of key in section (the first occurrence); without such a key the line of the
// section's header; without the section, 1.
int LineOf(const InfText& text, const char* section, const char* key);

// Copies the line's key into out, cut to the capacity: for printing only.
void KeyText(const InfLine& line, char* out, size_t capacity);
