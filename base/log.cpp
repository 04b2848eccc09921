// The run's log file. Lines are in the user's code page, as the program's texts are. Each line
// goes to the file with its own write after a move to the end, so that the uninstall request and
// its worker, which share one log, never write over each other's lines.
#include "base/log.h"

#include "base/path.h"
#include "base/text.h"

namespace {

constexpr size_t kLineCapacity = 1024;

const char* const kActionWords[] = {
    "folder made",   "file copied",  "file kept",      "file not copied", "shortcut made", "value written",
    "key deleted",   "file removed", "folder removed", "failed",          "answered",
};
static_assert(sizeof kActionWords / sizeof kActionWords[0] == LogAnswer + 1, "a word for every action");

HANDLE logFile = INVALID_HANDLE_VALUE;

void AppendTwoDigits(char* line, WORD value)
{
    char digits[3] = {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10), '\0'};
    AppendText(line, kLineCapacity, digits);
}

// The line with its time in front; a line too long for the buffer is written cut with "...".
void WriteLine(const char* const* parts, int count)
{
    if (logFile == INVALID_HANDLE_VALUE)
        return;
    char line[kLineCapacity] = "";
    SYSTEMTIME now;
    GetLocalTime(&now);
    AppendTwoDigits(line, now.wHour);
    AppendText(line, kLineCapacity, ":");
    AppendTwoDigits(line, now.wMinute);
    AppendText(line, kLineCapacity, ":");
    AppendTwoDigits(line, now.wSecond);
    AppendText(line, kLineCapacity, " ");
    // Room is kept for "...", the line end and the terminator; a double-byte character is
    // never cut in half.
    size_t length = lstrlenA(line);
    constexpr size_t kRoom = kLineCapacity - 6;
    for (int i = 0; i < count; ++i) {
        for (const char* p = parts[i]; *p; ++p) {
            bool lead = IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0';
            if (length + (lead ? 2 : 1) > kRoom) {
                CopyMemory(line + length, "...", 3);
                length += 3;
                i = count;
                break;
            }
            line[length++] = *p;
            if (lead)
                line[length++] = *++p;
        }
    }
    CopyMemory(line + length, "\r\n", 3);
    SetFilePointer(logFile, 0, nullptr, FILE_END);
    DWORD written;
    WriteFile(logFile, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
}

}  // namespace

bool OpenLog(const char* path, bool append)
{
    CloseLog();
    logFile = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return logFile != INVALID_HANDLE_VALUE;
}

void CloseLog()
{
    if (logFile != INVALID_HANDLE_VALUE)
        CloseHandle(logFile);
    logFile = INVALID_HANDLE_VALUE;
}

bool LogIsOpen()
{
    return logFile != INVALID_HANDLE_VALUE;
}

void LogLine(const char* text)
{
    WriteLine(&text, 1);
}

void LogAction(LogActionKind kind, const char* path, DWORD error)
{
    if (logFile == INVALID_HANDLE_VALUE)
        return;
    char reason[kLineCapacity / 2] = "";
    if (error != 0) {
        DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                      reason, sizeof reason, nullptr);
        while (length > 0 && (reason[length - 1] == '\r' || reason[length - 1] == '\n' || reason[length - 1] == ' '))
            reason[--length] = '\0';
        if (length == 0 || length >= sizeof reason)
            CopyText(reason, "error ");
        if (length == 0)
            AppendText(reason, NumberText(error));
    }
    const char* parts[] = {kActionWords[kind], ": ", path, error != 0 ? " - " : "", reason};
    WriteLine(parts, 5);
}
