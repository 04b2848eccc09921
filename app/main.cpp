// The program's own entry point. There is no C runtime to start the program: the arguments
// are what follows the program's name on the command line, as WinMain would receive them.
#include <windows.h>

#include "app/entry.h"

namespace {

// Skips the program name (quoted, or up to the first blank) and the blanks after it.
const char* ArgumentsOf(const char* commandLine)
{
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

}  // namespace

extern "C" void ProgramStart()
{
    ExitProcess(ProgramEntry(GetModuleHandleA(nullptr), ArgumentsOf(GetCommandLineA())));
}
