// The check's report, written with WriteFile to the standard output handle (there is no C
// runtime to print with).
#include "check/report.h"

#include <windows.h>

#include "base/path.h"
#include "base/text.h"

namespace {

// A finding names at most a few values of at most a path each.
constexpr size_t kLineCapacity = 2048;

const char* reportedFile = "";
int errorCount = 0;
int warningCount = 0;

// Appends as much of text as fits: a report line is read by people and editors, and a value
// too long for it is still recognisable from its start.
void AppendClipped(char (&line)[kLineCapacity], const char* text)
{
    if (AppendText(line, text))
        return;
    size_t used = lstrlenA(line);
    while (*text && used + 1 < kLineCapacity)
        line[used++] = *text++;
    line[used] = '\0';
}

}  // namespace

void SetReportedFile(const char* name)
{
    reportedFile = name;
}

void WriteOutput(const char* text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
}

void Report(Severity severity, int line, const char* section, const char* key, const char* text,
            const char* text2, const char* text3, const char* text4)
{
    if (severity == Severity::Error)
        ++errorCount;
    else
        ++warningCount;
    // Formatted here, not with NumberText, whose shared buffer a piece may still point into.
    char number[16];
    wsprintfA(number, "%d", line < 1 ? 1 : line);
    char out[kLineCapacity] = "";
    AppendClipped(out, reportedFile);
    AppendClipped(out, ":");
    AppendClipped(out, number);
    AppendClipped(out, severity == Severity::Error ? ": error: [" : ": warning: [");
    AppendClipped(out, section);
    AppendClipped(out, "] ");
    AppendClipped(out, key);
    AppendClipped(out, ": ");
    const char* const pieces[] = {text, text2, text3, text4};
    for (const char* piece : pieces)
        AppendClipped(out, piece);
    out[kLineCapacity - 3] = '\0';
    AppendText(out, "\r\n");
    WriteOutput(out);
}

int ReportSummary()
{
    char out[128] = "";
    AppendText(out, NumberText(static_cast<unsigned>(errorCount)));
    AppendText(out, " errors, ");
    AppendText(out, NumberText(static_cast<unsigned>(warningCount)));
    AppendText(out, " warnings\r\n");
    WriteOutput(out);
    return errorCount > 0 ? 2 : warningCount > 0 ? 1 : 0;
}
