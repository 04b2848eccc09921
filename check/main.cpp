// setupcheck: the packager's check of a package's setup information files, a console program
// without the C runtime like the installer. Usage: setupcheck PACKAGE_FOLDER [PROGRAM.EXE]
// (the installer's name in the package, SETUP.EXE when not given). Exit code 0 when there is
// nothing to report, 1 for warnings only, 2 for errors.
#include <windows.h>

#include "base/path.h"
#include "check/package.h"
#include "check/report.h"

namespace {

constexpr const char* kDefaultProgram = "SETUP.EXE";
constexpr int kUsageExitCode = 2;

// The next argument of the command line into out (quotes removed); false when there is none or
// it does not fit.
bool NextArgument(const char*& p, char (&out)[kPathCapacity])
{
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '\0')
        return false;
    size_t used = 0;
    bool quoted = false;
    for (; *p && (quoted || (*p != ' ' && *p != '\t')); ++p) {
        if (*p == '"') {
            quoted = !quoted;
            continue;
        }
        if (used + 1 >= sizeof out)
            return false;
        out[used++] = *p;
    }
    out[used] = '\0';
    return true;
}

int Usage()
{
    WriteOutput("usage: setupcheck PACKAGE_FOLDER [PROGRAM.EXE]\r\n"
                "Checks the setup information files that PROGRAM.EXE (SETUP.EXE when not given) could read in\r\n"
                "PACKAGE_FOLDER: PROGRAM.INF, PROGRAME.INF, PROGRAMJ.INF and PROGRAMZT.INF.\r\n");
    return kUsageExitCode;
}

int Run(const char* commandLine)
{
    const char* p = commandLine;
    char argument[kPathCapacity];
    char folder[kPathCapacity];
    char program[kPathCapacity];
    // The program's own name comes first on the command line.
    if (!NextArgument(p, argument) || !NextArgument(p, argument))
        return Usage();
    DWORD length = GetFullPathNameA(argument, sizeof folder, folder, nullptr);
    if (length == 0 || length >= sizeof folder || !AppendPathPart(folder, ""))
        return Usage();
    if (!NextArgument(p, program) && !CopyText(program, kDefaultProgram))
        return Usage();
    if (NextArgument(p, argument))
        return Usage();

    if (!CheckPackage(folder, program)) {
        // Reported against the first name the installer looks for.
        char expected[kPathCapacity];
        if (!CopyText(expected, FileNamePart(program)) || !ReplaceExtension(expected, "INF"))
            return Usage();
        SetReportedFile(expected);
        Report(Severity::Error, 1, "Install", "Title", "no setup information file for ", program, " in ", folder);
    }
    return ReportSummary();
}

}  // namespace

extern "C" void ProgramStart()
{
    ExitProcess(static_cast<UINT>(Run(GetCommandLineA())));
}
