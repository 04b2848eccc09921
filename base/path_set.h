// A set of paths or names, each with a number, compared as the program compares paths
// (lstrcmpiA) and found in about constant time. The removal keeps the files it has deleted in
// one, so that the walk over the install record can pass over them without looking for each
// file again; the free-space sum keeps a folder's listing in one, so that it reads each source
// folder once instead of looking for each file. Under Wine a look for a single name costs about
// as much as a deletion, and a look for a name that is gone reads the whole folder.
#pragma once

#include <windows.h>

#include "base/handle.h"

// Without memory the set holds nothing and answers "not there": a caller then looks for the
// file itself, which costs only the time the set would have spared.
class PathSet {
public:
    PathSet() = default;
    PathSet(const PathSet&) = delete;
    PathSet& operator=(const PathSet&) = delete;

    // Empties the set, keeping its memory.
    void Clear();
    // Adds path with its number; a path already there keeps its first number.
    void Add(const char* path, ULONGLONG number = 0);
    bool Contains(const char* path) const { return Find(path, nullptr); }
    // True when path is there; its number goes to *number when number is not null.
    bool Find(const char* path, ULONGLONG* number) const;

private:
    // The slot of path: where it is, or the empty slot where it would go.
    DWORD SlotOf(const char* path) const;
    bool Grow();

    DWORD* slots_ = nullptr;  // offsets into items_, 0 for an empty slot
    DWORD slotCount_ = 0;     // a power of two, at least twice count_
    char* items_ = nullptr;   // each item its number, then its path with the terminator
    DWORD itemsUsed_ = 0;
    DWORD itemsCapacity_ = 0;
    DWORD count_ = 0;
    HeapBlock slotBlock_;
    HeapBlock itemBlock_;
};
