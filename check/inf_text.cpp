// The raw text of a setup information file and the scan of its lines.
#include "check/inf_text.h"

namespace {

// A setup file of 100,000 entries is under 16 MiB; anything larger is not one.
constexpr DWORD kLargestText = 16u << 20;

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
    if (fileSize == INVALID_FILE_SIZE || high != 0 || fileSize > kLargestText)
        return false;
    char* buffer = static_cast<char*>(AllocateHeapBlock(block, fileSize + 1));
    DWORD read = 0;
    if (buffer == nullptr || !ReadFile(file.Get(), buffer, fileSize, &read, nullptr) || read != fileSize)
        return false;
    buffer[fileSize] = '\0';
    bytes = buffer;
    size = fileSize;
    return true;
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
