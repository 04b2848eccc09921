// Runs the built setupcheck on a package folder as a packager does and collects its report.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "support/test_support.h"

struct CheckReport {
    int exitCode = -1;
    std::vector<std::string> lines;  // without line breaks, in the order printed
    std::string all;                 // everything printed, for failure messages
};

// The report of "setupcheck arguments", its standard output written to a file in scratch.
inline CheckReport RunSetupCheck(const std::string& arguments, const TempFolder& scratch)
{
    CheckReport report;
    std::string outputPath = scratch / "report.txt";
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
        return report;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::string commandLine = std::string("\"") + SETUPCHECK_EXE_PATH + "\" " + arguments;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  nullptr, &startup, &process);
    CloseHandle(output);
    if (!started)
        return report;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        report.exitCode = static_cast<int>(code);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    report.all = ReadFileBytes(outputPath);
    size_t start = 0;
    while (start < report.all.size()) {
        size_t end = report.all.find('\n', start);
        if (end == std::string::npos)
            end = report.all.size();
        std::string line = report.all.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        report.lines.push_back(line);
        start = end + 1;
    }
    return report;
}

// The 1-based number of the line of text that equals line (as written into a setup file).
inline int LineNumberOf(const std::vector<std::string>& text, const std::string& line)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == line)
            return static_cast<int>(i + 1);
    }
    return 0;
}

inline std::string JoinLines(const std::vector<std::string>& text)
{
    std::string joined;
    for (const std::string& line : text)
        joined += line + "\r\n";
    return joined;
}
