// The platform's entry point: hands the command line after the program name to the entry.
#include <windows.h>

#include "app/entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    return ProgramEntry(instance, commandLine);
}
