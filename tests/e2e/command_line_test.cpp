// The command line's gate and modes, one row a line as the program receives its arguments.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"

namespace {

struct Row {
    const char* arguments;
    RunMode mode;
    bool askFirst;
    const char* workingPath;  // nullptr: the program's own path
};

const char* ModeName(RunMode mode)
{
    const char* const kNames[] = {"Nothing", "Install", "UninstallRequest", "UninstallWorker"};
    return kNames[static_cast<int>(mode)];
}

TEST(CommandLineTable, GateModeQuestionAndWorkingPath)
{
    const Row rows[] = {
        {"", RunMode::Nothing, false, nullptr},
        {"ab", RunMode::Nothing, false, nullptr},
        {"/abc", RunMode::Nothing, false, nullptr},
        {"abcd", RunMode::Nothing, false, nullptr},
        {"abc", RunMode::Install, false, nullptr},
        {"/go", RunMode::Install, false, nullptr},
        {"a b", RunMode::Install, false, nullptr},
        {"X12345", RunMode::Install, false, nullptr},
        {"war", RunMode::Install, true, nullptr},
        {"/r", RunMode::UninstallRequest, true, nullptr},
        {"R", RunMode::UninstallRequest, true, nullptr},
        {"/R12", RunMode::UninstallRequest, true, nullptr},
        {"x C:\\Apps\\SETUP.EXE", RunMode::UninstallWorker, false, "C:\\Apps\\SETUP.EXE"},
        {"/x C:\\Program Files\\r\\SETUP.EXE", RunMode::UninstallWorker, false, "C:\\Program Files\\r\\SETUP.EXE"},
        {"/x", RunMode::UninstallWorker, false, ""},
    };
    for (const Row& row : rows) {
        CommandLine command = ParseCommandLine(row.arguments);
        SCOPED_TRACE(std::string("arguments \"") + row.arguments + "\"");
        EXPECT_STREQ(ModeName(row.mode), ModeName(command.mode));
        EXPECT_EQ(row.askFirst, command.askFirst);
        EXPECT_STREQ(row.workingPath, command.workingPath);
    }
}

}  // namespace
