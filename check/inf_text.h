// The raw text of a setup information file, scanned line by line. The installer reads values
// through the platform's profile reader, which tells no line numbers; the check finds the line
// of each section and key here, as the reader matches them (names without regard to case,
// blanks around them dropped, the first occurrence counting). The first occurrences are indexed
// once when the file is loaded, so that finding a line does not read the file from its start.
#pragma once

#include <windows.h>

#include "base/handle.h"

// A section header (key null) or a key of a section in the index of first occurrences.
struct InfIndexSlot {
    const char* section;
    const char* key;
    int sectionLength;
    int keyLength;
    int number;  // the line; 0 for a free slot
    DWORD hash;
};

// Owner of the file's bytes (read whole, freed on destruction) and of the index of its lines.
class InfText {
public:
    // The largest file the check reads: a setup file of 100,000 entries is under 16 MiB.
    static constexpr DWORD kLargestText = 16u << 20;

    // False when the file cannot be read, or is larger than kLargestText (tooLarge then set).
    bool Load(const char* path);

    // The first line of key in section (key null: the section's first header); 0 when there is
    // none, -1 when the index could not be made (there was no memory for it).
    int FirstLine(const char* section, const char* key) const;

    const char* bytes = nullptr;  // in block, terminated
    DWORD size = 0;
    bool tooLarge = false;

private:
    void BuildIndex();
    InfIndexSlot* FindSlot(DWORD hash, const char* section, int sectionLength, const char* key,
                           int keyLength) const;

    HeapBlock block;
    HeapBlock indexBlock;
    InfIndexSlot* slots = nullptr;  // in indexBlock, open addressing; a power of two of them
    DWORD slotMask = 0;
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
