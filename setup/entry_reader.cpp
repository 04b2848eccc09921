// Entry reader. Every call of the profile reader opens the file to see whether it has changed
// and walks the section from its start to the key, so a pass over N entries one key at a time
// grows with N * N (2,000 keys in order took 2.1 s under Wine 8). Here the section is read once
// with GetPrivateProfileSectionA, which hands back the lines as the profile reader itself has
// parsed them, and every numbered key points at its value. The copy is kept while the file's
// path, size and last write time stay the same. Where the section cannot be had whole (over
// 32 KiB on Windows 95, a file over 4 GiB) the profile reader answers each key as before.
#include "setup/entry_reader.h"

#include "base/file_search.h"
#include "base/handle.h"
#include "base/path.h"
#include "base/text.h"

namespace {

// Windows 95, 98 and Me read no more than this much of a section.
constexpr DWORD kWindows9xSectionLimit = 32767;
// Room for the section's two terminators beyond the file's own size.
constexpr DWORD kSectionSlack = 16;
constexpr size_t kSectionNameCapacity = 16;
// The profile reader's answer when there is no copy: ten times a path, so that a value it cuts
// to this size is still longer than any caller takes.
constexpr DWORD kWideCapacity = 2600;

struct SectionCopy {
    char path[kPathCapacity];
    char section[kSectionNameCapacity];
    FILETIME written;
    DWORD size;
    char* text;       // the section's lines, each split into a name and a trimmed value
    char** values;    // values[n]: the value of the first line named n, 1 <= n <= count
    DWORD count;      // the number of lines; a key above it is left to the profile reader
};

SectionCopy sectionCopy;
// The passes that live now; while there is one, a copy found the file's in it stays so.
int passes;
bool copyCheckedInPass;

// The file's size and last write time tell whether the copy is still the file's.
bool ReadStamp(const char* path, WIN32_FIND_DATAA* data)
{
    return ReadFileFacts(path, data) && data->nFileSizeHigh == 0;
}

bool IsCopyOf(const char* infPath, const char* section, const WIN32_FIND_DATAA& stamp)
{
    return sectionCopy.text != nullptr && sectionCopy.size == stamp.nFileSizeLow &&
           CompareFileTime(&sectionCopy.written, &stamp.ftLastWriteTime) == 0 &&
           lstrcmpiA(sectionCopy.section, section) == 0 && lstrcmpA(sectionCopy.path, infPath) == 0;
}

// The copy lives in a plain record (a program without a C runtime runs no destructor of a
// global owner); its blocks are handed to owners that release them here.
void Forget()
{
    HeapBlock text(sectionCopy.text);
    HeapBlock values(sectionCopy.values);
    sectionCopy.text = nullptr;
    sectionCopy.values = nullptr;
}

char* TrimEnd(char* start, char* end)
{
    while (end > start && IsWhiteSpace(end[-1]))
        --end;
    *end = '\0';
    return start;
}

char* SkipSpaces(char* text)
{
    while (IsWhiteSpace(*text))
        ++text;
    return text;
}

// The key a line's name stands for when it is a plain decimal number ("7", never "07" or
// " 7 " untrimmed), else 0.
DWORD NameNumber(const char* name)
{
    if (*name < '1' || *name > '9')
        return 0;
    DWORD number = 0;
    for (; *name; ++name) {
        if (*name < '0' || *name > '9' || number > 0x7FFFFFF)
            return 0;
        number = number * 10 + (*name - '0');
    }
    return number;
}

// Splits every line of the section at its first "=", trims name and value as the profile
// reader does (its own copy may come untrimmed), and points each numbered key at its value.
bool IndexLines()
{
    DWORD count = 0;
    for (char* line = sectionCopy.text; *line; line += lstrlenA(line) + 1)
        ++count;
    sectionCopy.count = count;
    sectionCopy.values =
        static_cast<char**>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, (count + 1) * sizeof(char*)));
    if (sectionCopy.values == nullptr)
        return false;
    for (char* line = sectionCopy.text; *line;) {
        char* next = line + lstrlenA(line) + 1;
        char* equals = line;
        while (*equals && *equals != '=')
            ++equals;
        char* value = equals;
        if (*equals == '=')
            value = SkipSpaces(equals + 1);
        TrimEnd(value, next - 1);
        DWORD number = NameNumber(TrimEnd(SkipSpaces(line), equals));
        if (number != 0 && number <= count && sectionCopy.values[number] == nullptr)
            sectionCopy.values[number] = value;
        line = next;
    }
    return true;
}

void CopySection(const char* infPath, const char* section, const WIN32_FIND_DATAA& stamp)
{
    Forget();
    DWORD capacity = stamp.nFileSizeLow + kSectionSlack;
    if (capacity < stamp.nFileSizeLow || !CopyText(sectionCopy.section, section) ||
        !CopyText(sectionCopy.path, infPath) ||
        ((GetVersion() & 0x80000000) != 0 && capacity > kWindows9xSectionLimit))
        return;
    sectionCopy.text = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, capacity));
    if (sectionCopy.text == nullptr)
        return;
    sectionCopy.written = stamp.ftLastWriteTime;
    sectionCopy.size = stamp.nFileSizeLow;
    // A section that fills the buffer has been cut: the reader says so with capacity - 2.
    DWORD length = GetPrivateProfileSectionA(section, sectionCopy.text, capacity, infPath);
    if (length + 2 >= capacity || !IndexLines())
        Forget();
}

}  // namespace

EntryReadingPass::EntryReadingPass()
{
    if (passes++ == 0)
        copyCheckedInPass = false;
}

EntryReadingPass::~EntryReadingPass() { --passes; }

DWORD ReadNumberedEntry(const char* infPath, const char* section, unsigned number, char* out, DWORD capacity)
{
    WIN32_FIND_DATAA stamp;
    bool stamped = passes > 0 && copyCheckedInPass && sectionCopy.text != nullptr &&
                   lstrcmpiA(sectionCopy.section, section) == 0 && lstrcmpA(sectionCopy.path, infPath) == 0;
    if (!stamped) {
        stamped = ReadStamp(infPath, &stamp);
        if (stamped && !IsCopyOf(infPath, section, stamp))
            CopySection(infPath, section, stamp);
        copyCheckedInPass = passes > 0 && stamped;
    }
    if (capacity == 0)
        return 0;
    // Without the section's copy the profile reader answers the key, into a buffer far larger
    // than any caller's: it cuts a quoted value that does not fit and then takes its last
    // character for the closing quote, handing back a cut value that looks whole.
    char wide[kWideCapacity];
    const char* value = wide;
    DWORD length = 0;
    if (!stamped || sectionCopy.text == nullptr || number == 0 || number > sectionCopy.count) {
        length = GetPrivateProfileStringA(section, NumberText(number), "", wide, sizeof wide, infPath);
    } else {
        value = sectionCopy.values[number];
        if (value == nullptr)
            value = "";
        length = lstrlenA(value);
        // One pair of matching quotes around the value is taken off, as the profile reader does.
        if ((value[0] == '"' || value[0] == '\'') && length >= 2 && value[length - 1] == value[0]) {
            ++value;
            length -= 2;
        }
    }
    if (length >= capacity)
        length = capacity - 1;
    CopyMemory(out, value, length);
    out[length] = '\0';
    return length;
}
