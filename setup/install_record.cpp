// The install record, one line "<kind> <path>" per thing made, in the user's code page. Each line
// is written with its own call as soon as the thing exists: a crash or a power cut leaves every
// line before it.
#include "setup/install_record.h"

#include "base/handle.h"
#include "base/text.h"
#include "setup/install_state.h"

namespace {

// The record is read whole; one far larger than any package's would not be a record.
constexpr DWORD kLargestRecord = 64u << 20;

HANDLE recordFile = INVALID_HANDLE_VALUE;

bool IsKind(char c)
{
    return c == static_cast<char>(RecordKind::File) || c == static_cast<char>(RecordKind::Shortcut) ||
           c == static_cast<char>(RecordKind::Key) || c == static_cast<char>(RecordKind::CreatedKey);
}

struct Lookup {
    RecordKind kind;
    const char* text;
    bool found;
};

void LookFor(RecordKind kind, const char* path, void* context)
{
    Lookup& lookup = *static_cast<Lookup*>(context);
    lookup.found = lookup.found || (kind == lookup.kind && lstrcmpiA(path, lookup.text) == 0);
}

}  // namespace

bool InstallRecordPath(const Package& package, char (&path)[kPathCapacity])
{
    return CopyText(path, installState.installDir) && AppendText(path, package.exeName) && ReplaceExtension(path, "REC");
}

bool OpenInstallRecord(const char* path)
{
    CloseInstallRecord();
    recordFile = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (recordFile == INVALID_HANDLE_VALUE)
        return false;
    SetFilePointer(recordFile, 0, nullptr, FILE_END);
    return true;
}

void CloseInstallRecord()
{
    if (recordFile != INVALID_HANDLE_VALUE)
        CloseHandle(recordFile);
    recordFile = INVALID_HANDLE_VALUE;
}

void RecordMade(RecordKind kind, const char* path)
{
    char line[kPathCapacity + 4] = {static_cast<char>(kind), ' ', '\0'};
    if (recordFile == INVALID_HANDLE_VALUE || !AppendText(line, path) || !AppendText(line, "\r\n"))
        return;
    DWORD written;
    WriteFile(recordFile, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
}

bool RecordLists(const char* path, RecordKind kind, const char* text)
{
    Lookup lookup = {kind, text, false};
    return ReadInstallRecord(path, LookFor, &lookup) && lookup.found;
}

bool ReadInstallRecord(const char* path, void (*visit)(RecordKind kind, const char* path, void* context),
                       void* context)
{
    FileHandle file;
    file.Reset(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD high = 0;
    DWORD size = file.IsOpen() ? GetFileSize(file.Get(), &high) : INVALID_FILE_SIZE;
    if (size == INVALID_FILE_SIZE || high != 0 || size > kLargestRecord)
        return false;
    HeapBlock block;
    char* text = static_cast<char*>(AllocateHeapBlock(block, size + 1));
    DWORD read = 0;
    if (text == nullptr || !ReadFile(file.Get(), text, size, &read, nullptr))
        return false;
    text[read] = '\0';
    for (char* line = text; *line;) {
        char* end = line;
        while (*end && *end != '\r' && *end != '\n')
            ++end;
        char* next = *end ? end + 1 : end;
        *end = '\0';
        if (IsKind(line[0]) && line[1] == ' ' && line[2] != '\0' && end - (line + 2) < static_cast<int>(kPathCapacity))
            visit(static_cast<RecordKind>(line[0]), line + 2, context);
        line = next;
    }
    return true;
}
