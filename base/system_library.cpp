// Run-time loading of the system DLLs that the program does not import (base/system_library.h).
#include "base/system_library.h"

#include "base/path.h"

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, which the headers of the 1996 API this program is built
// against do not define.
constexpr DWORD kSearchSystemFolder = 0x00000800;

constexpr int kVersionTextCapacity = 24;  // "65535.65535.65535.65535" and the terminator
constexpr DWORD kFixedInfoSignature = 0xFEEF04BD;

// Set once the search is restricted to the system folder; read by the common controls' loader.
bool searchRestricted = false;

FARPROC KernelFunction(const char* name)
{
    return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

}  // namespace

void RestrictDllSearch()
{
    typedef BOOL(WINAPI * DefaultDirectoriesFunction)(DWORD);
    typedef BOOL(WINAPI * DllDirectoryFunction)(LPCSTR);
    DefaultDirectoriesFunction setDefaultDirectories = reinterpret_cast<DefaultDirectoriesFunction>(
        reinterpret_cast<void (*)()>(KernelFunction("SetDefaultDllDirectories")));
    if (setDefaultDirectories != nullptr && setDefaultDirectories(kSearchSystemFolder)) {
        searchRestricted = true;
        return;
    }
    // Only where the restriction is missing: SetDllDirectoryA is inherited by the programs this
    // one starts (the worker copy, "Open", launch.exe), which then search without their current
    // folder too, as Windows' own advice for safe loading has them do.
    DllDirectoryFunction setDllDirectory =
        reinterpret_cast<DllDirectoryFunction>(reinterpret_cast<void (*)()>(KernelFunction("SetDllDirectoryA")));
    if (setDllDirectory != nullptr)
        setDllDirectory("");
}

bool LoadSystemLibrary(LoadedLibrary& library, const char* name)
{
    char path[kPathCapacity];
    UINT length = GetSystemDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path || !AppendPathPart(path, name))
        return false;
    library.Reset(LoadLibraryA(path));
    return library.IsOpen();
}

bool CommonControls::Load()
{
    // The manifest asks for the common controls of version 6, and Windows hands them out (from
    // its side-by-side store) only to a load by the bare name: a full path names the system
    // folder's file, version 5.8, which would then serve the pages while the dialog manager
    // makes their controls from version 6's classes. From XP on the side-by-side store is looked
    // at before any folder for a DLL the manifest names, so a comctl32.dll beside the program is
    // never taken, and once the search is restricted nothing else is looked at but the system
    // folder. Before XP (no store, and the program's folder first) the full path is taken.
    DWORD version = GetVersion();
    bool sideBySide = (version & 0x80000000) == 0 && MAKEWORD(HIBYTE(LOWORD(version)), LOBYTE(LOWORD(version))) >= 0x0501;
    if (searchRestricted || sideBySide)
        library_.Reset(LoadLibraryA("comctl32.dll"));
    else
        LoadSystemLibrary(library_, "comctl32.dll");
    initCommonControls = FindFunction<InitFunction>(library_, "InitCommonControls");
    propertySheet = FindFunction<PropertySheetFunction>(library_, "PropertySheetA");
    return initCommonControls != nullptr && propertySheet != nullptr;
}

bool VersionLibrary::Load()
{
    LoadSystemLibrary(library_, "version.dll");
    getFileVersionInfoSize = FindFunction<InfoSizeFunction>(library_, "GetFileVersionInfoSizeA");
    getFileVersionInfo = FindFunction<InfoFunction>(library_, "GetFileVersionInfoA");
    verQueryValue = FindFunction<QueryFunction>(library_, "VerQueryValueA");
    return getFileVersionInfoSize != nullptr && getFileVersionInfo != nullptr && verQueryValue != nullptr;
}

bool ReadFileVersion(const char* path, char* out, int capacity)
{
    if (capacity <= 0)
        return false;
    out[0] = '\0';
    VersionLibrary library;
    if (!library.Load())
        return false;
    DWORD ignored = 0;
    DWORD size = library.getFileVersionInfoSize(path, &ignored);
    HeapBlock block;
    if (size == 0 || AllocateHeapBlock(block, size) == nullptr || !library.getFileVersionInfo(path, 0, size, block.Get()))
        return false;
    void* value = nullptr;
    UINT length = 0;
    if (!library.verQueryValue(block.Get(), "\\", &value, &length) || value == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    if (fixed->dwSignature != kFixedInfoSignature)
        return false;
    char text[kVersionTextCapacity];
    wsprintfA(text, "%u.%u.%u.%u", static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
              static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)), static_cast<unsigned>(HIWORD(fixed->dwFileVersionLS)),
              static_cast<unsigned>(LOWORD(fixed->dwFileVersionLS)));
    return CopyText(out, static_cast<size_t>(capacity), text);
}
