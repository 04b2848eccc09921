// The program's own entry point. There is no C runtime to start the program: the arguments
// are what follows the program's name on the command line, as WinMain would receive them.
// The DLL search is restricted first of all.
#include <windows.h>

#include "app/command_line.h"
#include "app/entry.h"
#include "base/system_library.h"

extern "C" void ProgramStart()
{
    // Before any DLL is loaded: the program may run with administrator rights from a
    // Downloads folder, where anybody's DLL of a system name may lie beside it.
    RestrictDllSearch();
    char programPath[kPathCapacity];
    DWORD length = GetModuleFileNameA(nullptr, programPath, sizeof programPath);
    if (length == 0 || length >= sizeof programPath)
        programPath[0] = '\0';
    ExitProcess(ProgramEntry(GetModuleHandleA(nullptr), ArgumentsOf(GetCommandLineA(), programPath)));
}
