// The command line's gate and modes.
#include "app/command_line.h"

#include <windows.h>

namespace {

bool ContainsAny(const char* text, const char* characters)
{
    for (const char* p = text; *p; ++p) {
        for (const char* c = characters; *c; ++c) {
            if (*p == *c)
                return true;
        }
    }
    return false;
}

}  // namespace

CommandLine ParseCommandLine(const char* arguments)
{
    CommandLine command = {RunMode::Nothing, false, nullptr};
    if (!ContainsAny(arguments, "rRxX") && lstrlenA(arguments) != 3)
        return command;
    const char* line = arguments[0] == '/' ? arguments + 1 : arguments;
    if (*line == 'x') {
        command.mode = RunMode::UninstallWorker;
        command.workingPath = line[1] != '\0' ? line + 2 : line + 1;
        return command;
    }
    command.askFirst = ContainsAny(arguments, "rR");
    command.mode = *line == 'r' || *line == 'R' ? RunMode::UninstallRequest : RunMode::Install;
    return command;
}
