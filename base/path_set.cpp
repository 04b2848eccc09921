// An open-addressing table of offsets into one block of items, hashed without regard to ASCII
// case. Both grow by doubling; a failed allocation leaves the set as it was.
#include "base/path_set.h"

namespace {

constexpr DWORD kFirstSlots = 64;
constexpr DWORD kLargestSlots = 1u << 24;

// A path's hash, the same for names lstrcmpiA takes as equal by ASCII case; names it also takes
// as equal by other letters' case (rare) may hash apart, and are then looked for as before.
DWORD HashOf(const char* path)
{
    DWORD hash = 2166136261u;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(path); *p; ++p) {
        unsigned char c = *p >= 'A' && *p <= 'Z' ? static_cast<unsigned char>(*p + ('a' - 'A')) : *p;
        hash = (hash ^ c) * 16777619u;
    }
    return hash;
}

const char* PathOf(const char* item)
{
    return item + sizeof(ULONGLONG);
}

}  // namespace

void PathSet::Clear()
{
    if (slots_ != nullptr)
        ZeroMemory(slots_, slotCount_ * sizeof(DWORD));
    // Offset 0 marks an empty slot: the items start after one unused byte.
    itemsUsed_ = 1;
    count_ = 0;
}

DWORD PathSet::SlotOf(const char* path) const
{
    DWORD slot = HashOf(path) & (slotCount_ - 1);
    while (slots_[slot] != 0 && lstrcmpiA(PathOf(items_ + slots_[slot]), path) != 0)
        slot = (slot + 1) & (slotCount_ - 1);
    return slot;
}

bool PathSet::Grow()
{
    DWORD slotCount = slotCount_ == 0 ? kFirstSlots : slotCount_ * 2;
    if (slotCount > kLargestSlots)
        return false;
    DWORD* slots = static_cast<DWORD*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, slotCount * sizeof(DWORD)));
    if (slots == nullptr)
        return false;
    for (DWORD i = 0; i < slotCount_; ++i) {
        if (slots_[i] == 0)
            continue;
        DWORD slot = HashOf(PathOf(items_ + slots_[i])) & (slotCount - 1);
        while (slots[slot] != 0)
            slot = (slot + 1) & (slotCount - 1);
        slots[slot] = slots_[i];
    }
    slotBlock_.Reset(slots);
    slots_ = slots;
    slotCount_ = slotCount;
    return true;
}

void PathSet::Add(const char* path, ULONGLONG number)
{
    if ((count_ + 1) * 2 > slotCount_ && !Grow())
        return;
    if (items_ == nullptr)
        Clear();
    DWORD slot = SlotOf(path);
    if (slots_[slot] != 0)
        return;
    DWORD size = sizeof number + static_cast<DWORD>(lstrlenA(path)) + 1;
    if (itemsUsed_ + size > itemsCapacity_) {
        DWORD capacity = itemsCapacity_ * 2 + size + 4096;
        char* items = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, capacity));
        if (items == nullptr)
            return;
        if (items_ != nullptr)
            CopyMemory(items, items_, itemsUsed_);
        itemBlock_.Reset(items);
        items_ = items;
        itemsCapacity_ = capacity;
    }
    CopyMemory(items_ + itemsUsed_, &number, sizeof number);
    CopyMemory(items_ + itemsUsed_ + sizeof number, path, size - sizeof number);
    slots_[slot] = itemsUsed_;
    itemsUsed_ += size;
    ++count_;
}

bool PathSet::Find(const char* path, ULONGLONG* number) const
{
    if (count_ == 0)
        return false;
    DWORD offset = slots_[SlotOf(path)];
    if (offset == 0)
        return false;
    if (number != nullptr)
        CopyMemory(number, items_ + offset, sizeof *number);
    return true;
}
