// The installed paths and the shortcut names of a setup file as an ordered set, compared as the
// installer compares them (lstrcmpiA): whether a text equals an earlier one is found in
// logarithmic time, not against every earlier one, so that a package of many thousands of
// entries is checked in about the time it takes to read it.
#pragma once

#include <windows.h>

#include "base/handle.h"
#include "base/path.h"

// A node of the set's tree (an AA tree: balanced by levels, with two small rotations).
struct TextSetNode {
    int left;
    int right;
    int level;
};

// A set of some items of a table of texts, added in increasing order. Without memory for the
// tree it still answers, by comparing with every earlier non-empty text as a plain list would.
class TextSet {
public:
    TextSet() = default;
    TextSet(const TextSet&) = delete;
    TextSet& operator=(const TextSet&) = delete;

    // A set over texts[0 .. count), empty.
    void Prepare(const char (*texts)[kPathCapacity], int count);

    // The first added item whose text equals that of item; -1 when there is none, and item is
    // then added. Every item with a non-empty text is to be offered, in increasing order.
    int FindOrAdd(int item);

    // An added item whose text equals text; -1 when there is none.
    int Find(const char* text) const;

private:
    int Insert(int node, int item, int* found);
    int Skew(int node);
    int Split(int node);

    const char (*texts_)[kPathCapacity] = nullptr;
    int count_ = 0;
    TextSetNode* nodes_ = nullptr;  // in nodeBlock_, one per item
    int root_ = -1;
    HeapBlock nodeBlock_;
};
