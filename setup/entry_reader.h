// Entry reader: the numbered keys of a section of the setup information file ("1=...",
// "2=..."), answered from one read of the whole section.
#pragma once

#include <windows.h>

// Numbered key number of section in the setup information file infPath into out (capacity bytes), as
// GetPrivateProfileStringA(section, "<number>", "", out, capacity, infPath) gives it: the length
// of the text, "" for an absent key, and capacity - 1 when the value does not fit (out then
// holds it cut, which the callers refuse).
// While one lives, a section's copy is taken as the file's without looking at the file's size
// and date again for every key: for a pass over many entries in a row (the count at start-up,
// the free-space sum, a slice of the copy, the removal), during which the file does not change.
class EntryReadingPass {
public:
    EntryReadingPass();
    ~EntryReadingPass();
    EntryReadingPass(const EntryReadingPass&) = delete;
    EntryReadingPass& operator=(const EntryReadingPass&) = delete;
};

DWORD ReadNumberedEntry(const char* infPath, const char* section, unsigned number, char* out, DWORD capacity);
