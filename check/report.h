// The check's report: one line per finding on the standard output, in the form editors and
// CI jobs parse ("FILE:LINE: error: [Section] key: text"), and the closing count.
#pragma once

enum class Severity { Error, Warning };

// The file that the following findings belong to, as it is printed (e.g. "SETUP.INF").
void SetReportedFile(const char* name);

// One finding; the text is the pieces joined. line is 1-based.
void Report(Severity severity, int line, const char* section, const char* key, const char* text,
            const char* text2 = "", const char* text3 = "", const char* text4 = "");

// Writes text as it stands to the standard output.
void WriteOutput(const char* text);

// "N errors, M warnings" as the last line; returns the exit code: 0 nothing found, 1 warnings
// only, 2 errors.
int ReportSummary();
