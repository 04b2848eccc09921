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

TEST(CommandLineTable, UnattendedSwitchesAndTheirExitCodes)
{
    const struct {
        const char* arguments;
        RunMode mode;
        Attendance attendance;
        const char* folder;
        const char* logFile;
        const char* notUnderstood;
    } rows[] = {
        {"/quiet", RunMode::Install, Attendance::Quiet, "", "", ""},
        {"/QUIET /Dir=\"C:\\My Apps\\Kite\" /log=C:\\r.log", RunMode::Install, Attendance::Quiet, "C:\\My Apps\\Kite", "C:\\r.log", ""},
        {"/passive /quiet", RunMode::Install, Attendance::Quiet, "", "", ""},
        {"/r /passive", RunMode::UninstallRequest, Attendance::Passive, "", "", ""},
        {"/quiet /log=\"C:\\a b.log\" x C:\\Program Files\\rx\\SETUP.EXE", RunMode::UninstallWorker, Attendance::Quiet, "",
         "C:\\a b.log", ""},
        {"/quiet /S", RunMode::NotUnderstood, Attendance::Quiet, "", "", "/S"},
        {"/VERYSILENT /quiet", RunMode::NotUnderstood, Attendance::Quiet, "", "", "/VERYSILENT"},
        {"/quiet /dir=", RunMode::NotUnderstood, Attendance::Quiet, "", "", "/dir="},
        {"/?", RunMode::Help, Attendance::Person, "", "", ""},
        {"abc /log=C:\\setup.log", RunMode::Install, Attendance::Person, "", "C:\\setup.log", ""},
        {"/log=C:\\x.log", RunMode::Nothing, Attendance::Person, "", "C:\\x.log", ""},
        {"/S", RunMode::Nothing, Attendance::Person, "", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        CommandLine command = ParseCommandLine(row.arguments);
        EXPECT_EQ(static_cast<int>(row.mode), static_cast<int>(command.mode));
        EXPECT_EQ(static_cast<int>(row.attendance), static_cast<int>(command.attendance));
        EXPECT_STREQ(row.folder, command.folder);
        EXPECT_STREQ(row.logFile, command.logFile);
        EXPECT_STREQ(row.notUnderstood, command.notUnderstood);
    }
    EXPECT_STREQ("C:\\Program Files\\rx\\SETUP.EXE",
                 ParseCommandLine("/quiet x C:\\Program Files\\rx\\SETUP.EXE").workingPath);
}

TEST(CommandLineTable, ArgumentsAfterAProgramNameWithBlanks)
{
    const char* program = "C:\\WINDOWS\\system32\\Kite Setup.exe";
    const struct {
        const char* line;
        const char* arguments;
    } rows[] = {
        {"\"C:\\WINDOWS\\system32\\Kite Setup.exe\" x C:\\Kite\\Kite Setup.exe", "x C:\\Kite\\Kite Setup.exe"},
        {"C:\\WINDOWS\\system32\\Kite Setup.exe x C:\\Kite\\Kite Setup.exe", "x C:\\Kite\\Kite Setup.exe"},
        {"c:\\windows\\SYSTEM32\\kite setup.exe  /r", "/r"},
        {"Kite Setup.exe /r", "/r"},
        {"SETUP.EXE /r", "/r"},
        {"C:\\WINDOWS\\system32\\Kite Setup.exe", ""},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(row.arguments, ArgumentsOf(row.line, program)) << row.line;
}
