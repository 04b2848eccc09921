// Path routines. Every character search steps over double-byte characters whole: in the
// Japanese code page many characters have 0x5C ("\") as their second byte.
#include "base/path.h"

#include <windows.h>

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasDrivePrefix(const char* text) { return IsAsciiLetter(text[0]) && text[1] == ':'; }

// The next character, stepping over a double-byte character whole (but never past the NUL).
const char* NextChar(const char* p)
{
    if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0')
        return p + 2;
    return p + 1;
}

}  // namespace

const char* FindFirstSeparator(const char* text)
{
    for (const char* p = text; *p; p = NextChar(p)) {
        if (IsSeparator(*p))
            return p;
    }
    return HasDrivePrefix(text) ? text + 1 : nullptr;
}

const char* FindLastSeparator(const char* text)
{
    const char* last = nullptr;
    for (const char* p = text; *p; p = NextChar(p)) {
        if (IsSeparator(*p))
            last = p;
    }
    if (last == nullptr && HasDrivePrefix(text))
        return text + 1;
    return last;
}

const char* FindRootEnd(const char* path)
{
    if (HasDrivePrefix(path) && IsSeparator(path[2]))
        return path + 2;
    if (IsSeparator(path[0]) && IsSeparator(path[1])) {
        // Two separators: the root ends at the separator after the share name.
        const char* afterServer = FindFirstSeparator(path + 2);
        if (afterServer == nullptr)
            return nullptr;
        return FindFirstSeparator(afterServer + 1);
    }
    if (IsSeparator(path[0]))
        return path;
    return nullptr;
}

const char* FileNamePart(const char* path)
{
    const char* separator = FindLastSeparator(path);
    return separator ? separator + 1 : path;
}

const char* ExtensionPart(const char* path)
{
    const char* name = FileNamePart(path);
    const char* dot = nullptr;
    for (const char* p = name; *p; p = NextChar(p)) {
        if (*p == '.')
            dot = p;
    }
    if (dot == nullptr || dot == name)
        return nullptr;
    if (lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0)
        return nullptr;
    return dot;
}

bool CopyText(char* out, size_t capacity, const char* text)
{
    size_t length = lstrlenA(text);
    if (length + 1 > capacity)
        return false;
    CopyMemory(out, text, length + 1);
    return true;
}

bool AppendText(char* out, size_t capacity, const char* text)
{
    size_t used = lstrlenA(out);
    if (used >= capacity)
        return false;
    return CopyText(out + used, capacity - used, text);
}

bool AppendPathPart(char* path, size_t capacity, const char* part)
{
    size_t used = lstrlenA(path);
    const char* separator = FindLastSeparator(path);
    bool addSeparator = !(separator != nullptr && separator[1] == '\0');
    size_t needed = used + (addSeparator ? 1 : 0) + lstrlenA(part) + 1;
    if (needed > capacity)
        return false;
    char* end = path + used;
    if (addSeparator)
        *end++ = '\\';
    CopyMemory(end, part, lstrlenA(part) + 1);
    return true;
}

bool ReplaceExtension(char* path, size_t capacity, const char* ext)
{
    char* dot = ExtensionPart(path);
    size_t keep = dot ? static_cast<size_t>(dot - path) : lstrlenA(path);
    if (keep + 1 + lstrlenA(ext) + 1 > capacity)
        return false;
    path[keep] = '.';
    CopyMemory(path + keep + 1, ext, lstrlenA(ext) + 1);
    return true;
}

bool NormalizeFolderPath(char* path, size_t capacity)
{
    char full[kPathCapacity];
    DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full)
        return false;
    char* separator = FindLastSeparator(full);
    if (separator != nullptr && separator[1] == '\0' && separator - full >= 3)
        *separator = '\0';
    return CopyText(path, capacity, full);
}

void StripToProgramPath(char* line)
{
    char* start = line;
    while (*start == ' ' || (*start >= '\t' && *start <= '\r'))
        ++start;
    if (*start == '"') {
        ++start;
        // The first byte after the opening quote is never taken as the closing quote.
        if (*start != '\0') {
            for (char* p = const_cast<char*>(NextChar(start)); *p; p = const_cast<char*>(NextChar(p))) {
                if (*p == '"') {
                    *p = '\0';
                    break;
                }
            }
        }
    } else {
        for (char* p = start; *p; p = const_cast<char*>(NextChar(p))) {
            if (*p == ' ') {
                *p = '\0';
                break;
            }
        }
    }
    if (start != line)
        MoveMemory(line, start, lstrlenA(start) + 1);
}

bool JoinPath(char* out, size_t capacity, const char* folder, const char* name)
{
    if (!CopyText(out, capacity, folder) || !AppendPathPart(out, capacity, name)) {
        if (capacity > 0)
            out[0] = '\0';
        return false;
    }
    return true;
}

namespace {

// The device names Windows reserves in every folder: "CON", "NUL", "COM1" and the rest, with
// any extension and trailing blanks ("aux.txt", "nul .log").
bool IsDeviceName(const char* name, int length)
{
    const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    int stem = 0;
    while (stem < length && name[stem] != '.')
        ++stem;
    while (stem > 0 && name[stem - 1] == ' ')
        --stem;
    char upper[8];
    if (stem < 3 || stem >= static_cast<int>(sizeof upper))
        return false;
    CopyMemory(upper, name, stem);
    upper[stem] = '\0';
    CharUpperBuffA(upper, stem);
    for (const char* device : kDevices) {
        if (lstrcmpA(upper, device) == 0)
            return true;
    }
    // COM1 to COM9 and LPT1 to LPT9.
    if (stem != 4 || upper[3] < '1' || upper[3] > '9')
        return false;
    upper[3] = '\0';
    return lstrcmpA(upper, "COM") == 0 || lstrcmpA(upper, "LPT") == 0;
}

}  // namespace

bool NamesDevice(const char* path)
{
    const char* part = path;
    for (;;) {
        const char* separator = FindFirstSeparator(part);
        int length = separator != nullptr ? static_cast<int>(separator - part) : lstrlenA(part);
        if (IsDeviceName(part, length))
            return true;
        if (separator == nullptr)
            return false;
        part = separator + 1;
    }
}
