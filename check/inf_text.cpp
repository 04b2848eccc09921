// The raw text of a setup information file and the scan of its lines.
#include "check/inf_text.h"

namespace {

// The index has at least twice as many slots as indexed lines, and never fewer than this, so
// that its probe sequences stay short.
constexpr DWORD kSmallestIndex = 16;
constexpr DWORD kFnvBasis = 2166136261u;
constexpr DWORD kFnvPrime = 16777619u;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const char* text, int length, const char* name)
{
    int i = 0;
    for (; i < length; ++i) {
        if (name[i] == '\0' || LowerAscii(text[i]) != LowerAscii(name[i]))
            return false;
    }
    return name[i] == '\0';
}

bool SameText(const char* text, int length, const char* other, int otherLength)
{
    if (length != otherLength)
        return false;
    for (int i = 0; i < length; ++i) {
        if (LowerAscii(text[i]) != LowerAscii(other[i]))
            return false;
    }
    return true;
}

// FNV-1a of section and key as the reader matches them (ASCII letters in one case); a header,
// which has no key, hashes apart from a key that is empty.
DWORD HashOf(const char* section, int sectionLength, const char* key, int keyLength)
{
    DWORD hash = kFnvBasis;
    for (int i = 0; i < sectionLength; ++i)
        hash = (hash ^ static_cast<unsigned char>(LowerAscii(section[i]))) * kFnvPrime;
    hash = (hash ^ (key != nullptr ? 1u : 2u)) * kFnvPrime;
    for (int i = 0; i < keyLength; ++i)
        hash = (hash ^ static_cast<unsigned char>(LowerAscii(key[i]))) * kFnvPrime;
    return hash;
}

// Drops blanks at both ends of [*start, *end).
void Trim(const char** start, const char** end)
{
    while (*start < *end && IsBlank(**start))
        ++*start;
    while (*end > *start && IsBlank((*end)[-1]))
        --*end;
}

}  // namespace

bool InfText::Load(const char* path)
{
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.IsOpen())
        return false;
    DWORD high = 0;
    DWORD fileSize = GetFileSize(file.Get(), &high);
    if (fileSize == INVALID_FILE_SIZE)
        return false;
    if (high != 0 || fileSize > kLargestText) {
        tooLarge = true;
        return false;
    }
    char* buffer = static_cast<char*>(AllocateHeapBlock(block, fileSize + 1));
    DWORD read = 0;
    if (buffer == nullptr || !ReadFile(file.Get(), buffer, fileSize, &read, nullptr) || read != fileSize)
        return false;
    buffer[fileSize] = '\0';
    bytes = buffer;
    size = fileSize;
    BuildIndex();
    return true;
}

void InfText::BuildIndex()
{
    DWORD indexed = 0;
    InfLine line;
    while (NextLine(*this, line)) {
        if (line.key != nullptr || line.isSectionHeader)
            ++indexed;
    }
    // At most one line per byte of a file of at most kLargestText: no overflow below.
    DWORD capacity = kSmallestIndex;
    while (capacity < 2 * indexed)
        capacity *= 2;
    slots = static_cast<InfIndexSlot*>(AllocateHeapBlock(indexBlock, capacity * sizeof(InfIndexSlot), HEAP_ZERO_MEMORY));
    if (slots == nullptr)
        return;
    slotMask = capacity - 1;
    line = InfLine();
    while (NextLine(*this, line)) {
        if (line.key == nullptr && !line.isSectionHeader)
            continue;
        DWORD hash = HashOf(line.section, line.sectionLength, line.key, line.keyLength);
        InfIndexSlot* slot = FindSlot(hash, line.section, line.sectionLength, line.key, line.keyLength);
        if (slot->number != 0)
            continue;  // a later occurrence: the reader takes the first
        slot->section = line.section;
        slot->sectionLength = line.sectionLength;
        slot->key = line.key;
        slot->keyLength = line.keyLength;
        slot->number = line.number;
        slot->hash = hash;
    }
}

// The slot holding section and key, or the free slot where they belong.
InfIndexSlot* InfText::FindSlot(DWORD hash, const char* section, int sectionLength, const char* key,
                                int keyLength) const
{
    for (DWORD i = hash & slotMask;; i = (i + 1) & slotMask) {
        InfIndexSlot* slot = &slots[i];
        if (slot->number == 0 ||
            (slot->hash == hash && (slot->key == nullptr) == (key == nullptr) &&
             SameText(slot->section, slot->sectionLength, section, sectionLength) &&
             SameText(slot->key, slot->keyLength, key, keyLength)))
            return slot;
    }
}

int InfText::FirstLine(const char* section, const char* key) const
{
    if (slots == nullptr)
        return -1;
    int sectionLength = lstrlenA(section);
    int keyLength = key != nullptr ? lstrlenA(key) : 0;
    return FindSlot(HashOf(section, sectionLength, key, keyLength), section, sectionLength, key, keyLength)->number;
}

bool NextLine(const InfText& text, InfLine& line)
{
    const char* limit = text.bytes + text.size;
    const char* start;
    if (line.number == 0) {
        start = text.bytes;
        line.section = text.bytes;
        line.sectionLength = 0;
    } else {
        start = line.end;
        if (start < limit && *start == '\r')
            ++start;
        if (start < limit && *start == '\n')
            ++start;
    }
    if (start == nullptr || start >= limit)
        return false;
    const char* end = start;
    while (end < limit && *end != '\r' && *end != '\n')
        ++end;
    ++line.number;
    line.start = start;
    line.end = end;
    line.key = nullptr;
    line.keyLength = 0;
    line.value = nullptr;
    line.isSectionHeader = false;

    const char* first = start;
    const char* last = end;
    Trim(&first, &last);
    if (first == last || *first == ';')
        return true;
    if (*first == '[') {
        const char* close = first + 1;
        while (close < last && *close != ']')
            ++close;
        const char* name = first + 1;
        Trim(&name, &close);
        line.section = name;
        line.sectionLength = static_cast<int>(close - name);
        line.isSectionHeader = true;
        return true;
    }
    const char* equals = first;
    while (equals < last && *equals != '=')
        ++equals;
    const char* keyEnd = equals;
    Trim(&first, &keyEnd);
    line.key = first;
    line.keyLength = static_cast<int>(keyEnd - first);
    if (equals < last)
        line.value = equals + 1;
    return true;
}

bool InSection(const InfLine& line, const char* section)
{
    return SameName(line.section, line.sectionLength, section);
}

bool HasKey(const InfLine& line, const char* key)
{
    return line.key != nullptr && SameName(line.key, line.keyLength, key);
}

int LineOf(const InfText& text, const char* section, const char* key)
{
    int indexed = key != nullptr ? text.FirstLine(section, key) : 0;
    if (indexed > 0)
        return indexed;
    if (indexed == 0) {
        indexed = text.FirstLine(section, nullptr);
        if (indexed >= 0)
            return indexed > 0 ? indexed : 1;
    }
    // Without the index, the lines are read from the start.
    int headerLine = 0;
    InfLine line;
    while (NextLine(text, line)) {
        if (!InSection(line, section))
            continue;
        if (line.isSectionHeader && headerLine == 0)
            headerLine = line.number;
        if (key != nullptr && HasKey(line, key))
            return line.number;
    }
    return headerLine != 0 ? headerLine : 1;
}

void KeyText(const InfLine& line, char* out, size_t capacity)
{
    size_t used = 0;
    for (int i = 0; line.key != nullptr && i < line.keyLength && used + 1 < capacity; ++i)
        out[used++] = line.key[i];
    out[used] = '\0';
}
