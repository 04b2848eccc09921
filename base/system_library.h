// The system DLLs the program does not import: the common controls (comctl32.dll) and the
// version reader (version.dll), loaded at run time from the system folder with typed entry
// points; and the restriction of the DLL search that the program makes before anything else.
// Only the system's known DLLs (kernel32, user32, gdi32, advapi32, shell32, ole32) are imported:
// Windows takes those from the system folder whatever lies beside the program, while any other
// imported DLL would be looked for first in the program's folder (a Downloads folder).
#pragma once

#include <windows.h>
#include <prsht.h>
#include <winver.h>

#include "base/handle.h"

// Restricts the search of every later DLL load to the system folder where the system offers it
// (SetDefaultDllDirectories, Windows 8 on and updated Vista and 7), else takes the current
// folder out of it (SetDllDirectoryA(""), XP SP1 on); Windows 95, NT 4 and 2000 search as ever.
// Called first thing at start-up.
void RestrictDllSearch();

// Loads name (a bare file name) from the system folder into library. False when the system
// folder and the name make a path longer than a path may be (refused, never cut) or the DLL
// cannot be loaded.
bool LoadSystemLibrary(LoadedLibrary& library, const char* name);

// The address of the export name of library as a typed function pointer, or nullptr.
template <typename Function>
Function FindFunction(const LoadedLibrary& library, const char* name)
{
    if (!library.IsOpen())
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library.Get(), name)));
}

// The common controls: the property sheet and the progress bar's window class.
class CommonControls {
public:
    typedef void(WINAPI* InitFunction)();
    typedef INT_PTR(WINAPI* PropertySheetFunction)(LPCPROPSHEETHEADERA);

    CommonControls() = default;
    CommonControls(const CommonControls&) = delete;
    CommonControls& operator=(const CommonControls&) = delete;

    // True when the DLL and both functions were found.
    bool Load();

    InitFunction initCommonControls = nullptr;
    PropertySheetFunction propertySheet = nullptr;

private:
    LoadedLibrary library_;
};

// The version reader: a file's version resource and the values in it.
class VersionLibrary {
public:
    typedef DWORD(WINAPI* InfoSizeFunction)(LPCSTR, LPDWORD);
    typedef BOOL(WINAPI* InfoFunction)(LPCSTR, DWORD, DWORD, LPVOID);
    typedef BOOL(WINAPI* QueryFunction)(LPCVOID, LPCSTR, LPVOID*, PUINT);

    VersionLibrary() = default;
    VersionLibrary(const VersionLibrary&) = delete;
    VersionLibrary& operator=(const VersionLibrary&) = delete;

    // True when the DLL and its three functions were found.
    bool Load();

    InfoSizeFunction getFileVersionInfoSize = nullptr;
    InfoFunction getFileVersionInfo = nullptr;
    QueryFunction verQueryValue = nullptr;

private:
    LoadedLibrary library_;
};

// The file version of the file at path as "major.minor.build.revision" (the fixed part of its
// version resource, e.g. "2.1.0.7"), into out of capacity bytes with its terminator. False, and
// out empty, when the version reader or the file's version resource is missing, or the text
// does not fit (24 bytes always do).
bool ReadFileVersion(const char* path, char* out, int capacity);
