// The command line's gate and modes, one row a line as the program receives its arguments.
#include <gtest/gtest.h>

#include "app/command_line.h"

TEST(CommandLineTable, GateModeQuestionAndWorkingPath)
{
    const struct {
        const char* arguments;
        RunMode mode;
        bool askFirst;
        const char* workingPath;  // nullptr: the program's own path
    } rows[] = {
        {"", RunMode::Nothing, false, nullptr},
        {"/abc", RunMode::Nothing, false, nullptr},
        {"abcd", RunMode::Nothing, false, nullptr},
        {"/go", RunMode::Install, false, nullptr},
        {"X12345", RunMode::Install, false, nullptr},
        {"war", RunMode::Install, true, nullptr},
        {"/r", RunMode::UninstallRequest, true, nullptr},
        {"R12", RunMode::UninstallRequest, true, nullptr},
        {"/x C:\\Program Files\\r\\SETUP.EXE", RunMode::UninstallWorker, false, "C:\\Program Files\\r\\SETUP.EXE"},
        {"x", RunMode::UninstallWorker, false, ""},
    };
    for (const auto& row : rows) {
        CommandLine command = ParseCommandLine(row.arguments);
        EXPECT_EQ(static_cast<int>(row.mode), static_cast<int>(command.mode)) << "\"" << row.arguments << "\"";
        EXPECT_EQ(row.askFirst, command.askFirst) << "\"" << row.arguments << "\"";
        EXPECT_STREQ(row.workingPath, command.workingPath) << "\"" << row.arguments << "\"";
    }
}
