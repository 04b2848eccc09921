// Folders that an uninstall never empties or removes. The install folder is the folder of the
// copy that was started with "/r": a setup.exe run from the desktop or from the Downloads
// folder would otherwise take every file there with it. And the climb up from an emptied
// program-menu folder would take the user's own Programs and Start Menu folders when they
// happen to be empty. A folder is judged by its full path and, where the file system numbers
// folders, by its identity: another drive letter mapped onto the user's profile, a short name
// or ".." lead to the same folder and to the same answer.
#include "base/protected_folders.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "base/handle.h"
#include "base/path.h"
#include "base/registry_key.h"
#include "base/same_file.h"

// IKnownFolderManager as far as the program calls it (the headers for Windows 95 lack it).
// Declared outside the unnamed namespace: there the link-time optimiser would see that no
// class of the program implements it and drop the calls.
struct KnownFolderList : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE FolderIdFromCsidl(int csidl, GUID* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE FolderIdToCsidl(REFGUID id, int* csidl) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFolderIds(GUID** ids, UINT* count) = 0;
};
const CLSID kKnownFolderManagerClass = {0x4df0c730, 0xdf9d, 0x4ae3, {0x91, 0x53, 0xaa, 0x6b, 0x82, 0xe9, 0x79, 0x5a}};
const IID kKnownFolderManagerInterface = {0x8be2d872, 0x86aa, 0x4d47, {0xb7, 0x76, 0x32, 0xcc, 0xa4, 0x0c, 0x70, 0x18}};

namespace {

// The folder being judged: its full path and, where it can be had, its identity.
struct Judged {
    char full[kPathCapacity];
    FileIdentity identity;
    bool hasIdentity;
};

bool Matches(const Judged& judged, const char* candidate)
{
    char normalized[kPathCapacity];
    if (candidate[0] == '\0' || !CopyText(normalized, candidate) || !NormalizeFolderPath(normalized))
        return false;
    if (lstrcmpiA(judged.full, normalized) == 0)
        return true;
    FileIdentity identity;
    return judged.hasIdentity && ReadFileIdentity(normalized, &identity) && SameIdentity(identity, judged.identity);
}

// A drive root (C:\) or a share root (\\server\share) of a full path.
bool IsRootFolder(const char* full)
{
    const char* rootEnd = FindRootEnd(full);
    if (rootEnd != nullptr)
        return rootEnd[1] == '\0';
    return IsSeparator(full[0]) && IsSeparator(full[1]);
}

FARPROC FindExport(const char* module, const char* name)
{
    return GetProcAddress(GetModuleHandleA(module), name);
}

constexpr int kSystemFolderCount = 3;

// The system folder in both views: System32, SysWOW64 beside it on 64-bit Windows, and
// "Sysnative", by which a 32-bit program reaches the native one. A view the system lacks is
// left empty.
void ReadSystemFolders(char (&folders)[kSystemFolderCount][kPathCapacity])
{
    for (char* folder : folders)
        folder[0] = '\0';
    UINT length = GetSystemDirectoryA(folders[0], kPathCapacity);
    if (length == 0 || length >= kPathCapacity)
        folders[0][0] = '\0';
    typedef UINT(WINAPI * SystemWow64Directory)(LPSTR, UINT);
    SystemWow64Directory wow64Directory = reinterpret_cast<SystemWow64Directory>(
        reinterpret_cast<void (*)()>(FindExport("kernel32.dll", "GetSystemWow64DirectoryA")));
    if (wow64Directory != nullptr) {
        length = wow64Directory(folders[1], kPathCapacity);
        if (length == 0 || length >= kPathCapacity)
            folders[1][0] = '\0';
    }
    length = GetWindowsDirectoryA(folders[2], kPathCapacity);
    if (length == 0 || length >= kPathCapacity || !AppendPathPart(folders[2], "Sysnative"))
        folders[2][0] = '\0';
}

bool IsSystemFolder(const Judged& judged)
{
    char folders[kSystemFolderCount][kPathCapacity];
    ReadSystemFolders(folders);
    for (const char* folder : folders) {
        if (Matches(judged, folder))
            return true;
    }
    char windows[kPathCapacity];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    return length != 0 && length < sizeof windows && Matches(judged, windows);
}

// Every folder a "Shell Folders" key names: the user's (desktop, documents, pictures, music,
// application data, favorites, templates...) and the machine's common ones, as every Windows
// since 95 lists them.
bool IsListedShellFolder(const Judged& judged, HKEY root)
{
    RegistryKey key;
    if (!key.Open(root, kShellFoldersKey, KEY_READ))
        return false;
    char name[kKeyNameCapacity];
    char folder[kPathCapacity];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name;
        DWORD size = sizeof folder - 1;
        DWORD type = 0;
        LONG result = RegEnumValueA(key.Handle(), index, name, &nameLength, nullptr, &type,
                                    reinterpret_cast<BYTE*>(folder), &size);
        if (result == ERROR_NO_MORE_ITEMS)
            return false;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        folder[size] = '\0';
        if (Matches(judged, folder))
            return true;
    }
}

// Program Files and Common Files as both registry views name them: the 32-bit edition on
// 64-bit Windows sees only the 32-bit view unless it asks for the other.
bool IsProgramFilesFolder(const Judged& judged)
{
    const char* const kValues[] = {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir",
                                   "CommonFilesDir",  "CommonFilesDir (x86)",  "CommonW6432Dir"};
    // Windows before XP may refuse the view flags: the plain open comes first.
    const REGSAM kViews[] = {0, KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    char folder[kPathCapacity];
    for (REGSAM view : kViews) {
        RegistryKey key;
        if (!key.Open(HKEY_LOCAL_MACHINE, kCurrentVersionKey, KEY_READ | view))
            continue;
        for (const char* value : kValues) {
            if (key.ReadString(value, folder) && Matches(judged, folder))
                return true;
        }
    }
    return false;
}

// The user's profile folder, its Downloads folder and the folder that holds every profile.
// SHGetFolderPathA came after Windows 95 (and NT 4), so it is looked up at run time; without it
// the environment names the folder on NT, and Windows 95 has none.
bool IsProfileFolder(const Judged& judged)
{
    typedef HRESULT(WINAPI * GetFolderPath)(HWND, int, HANDLE, DWORD, LPSTR);
    GetFolderPath getFolderPath =
        reinterpret_cast<GetFolderPath>(reinterpret_cast<void (*)()>(FindExport("shell32.dll", "SHGetFolderPathA")));
    // The call writes up to MAX_PATH characters; the buffer holds exactly that.
    static_assert(kPathCapacity >= MAX_PATH, "SHGetFolderPathA's buffer");
    char folder[kPathCapacity];
    if (getFolderPath == nullptr || getFolderPath(nullptr, CSIDL_PROFILE, nullptr, 0, folder) != S_OK ||
        folder[0] == '\0') {
        DWORD length = GetEnvironmentVariableA("USERPROFILE", folder, sizeof folder);
        if (length == 0 || length >= sizeof folder)
            return false;
    }
    if (Matches(judged, folder))
        return true;
    char downloads[kPathCapacity];
    if (CopyText(downloads, folder) && AppendPathPart(downloads, "Downloads") && Matches(judged, downloads))
        return true;
    char* name = FileNamePart(folder);
    if (name <= folder + 1)
        return false;
    name[-1] = '\0';
    return !IsRootFolder(folder) && Matches(judged, folder);
}

typedef HRESULT(WINAPI * GetKnownFolderPath)(REFGUID, DWORD, HANDLE, PWSTR*);

// One known folder's path in the user's code page. A name the code page cannot spell is not
// taken: the replaced characters would name another folder.
bool KnownFolderMatches(const Judged& judged, GetKnownFolderPath getPath, REFGUID id)
{
    PWSTR path = nullptr;
    char folder[kPathCapacity];
    BOOL replaced = FALSE;
    bool matched = getPath(id, 0, nullptr, &path) == S_OK &&
                   WideCharToMultiByte(CP_ACP, 0, path, -1, folder, sizeof folder, nullptr, &replaced) > 1 &&
                   !replaced && Matches(judged, folder);
    CoTaskMemFree(path);
    return matched;
}

// Every folder the shell knows by name (Windows Vista on): Pictures, Music, Videos, Downloads,
// Saved Games, the Public folders, ProgramData and the rest, as the shell itself lists them.
bool IsKnownFolder(const Judged& judged)
{
    GetKnownFolderPath getPath = reinterpret_cast<GetKnownFolderPath>(
        reinterpret_cast<void (*)()>(FindExport("shell32.dll", "SHGetKnownFolderPath")));
    if (getPath == nullptr)
        return false;
    HRESULT initialized = CoInitialize(nullptr);
    bool matched = false;
    {
        ComPointer<KnownFolderList> list;
        GUID* ids = nullptr;
        UINT count = 0;
        if (SUCCEEDED(CoCreateInstance(kKnownFolderManagerClass, nullptr, CLSCTX_INPROC_SERVER,
                                       kKnownFolderManagerInterface, list.ReceiveVoid())) &&
            SUCCEEDED(list->GetFolderIds(&ids, &count))) {
            for (UINT i = 0; i < count && !matched; ++i)
                matched = KnownFolderMatches(judged, getPath, ids[i]);
        }
        CoTaskMemFree(ids);
    }
    if (SUCCEEDED(initialized))
        CoUninitialize();
    return matched;
}

}  // namespace

bool IsProtectedFolder(const char* folder)
{
    Judged judged;
    if (!CopyText(judged.full, folder) || !NormalizeFolderPath(judged.full))
        return true;
    if (IsRootFolder(judged.full))
        return true;
    judged.hasIdentity = ReadFileIdentity(judged.full, &judged.identity);
    return IsSystemFolder(judged) || IsListedShellFolder(judged, HKEY_CURRENT_USER) ||
           IsListedShellFolder(judged, HKEY_LOCAL_MACHINE) || IsProgramFilesFolder(judged) ||
           IsProfileFolder(judged) || IsKnownFolder(judged);
}

bool LiesInSystemFolder(const char* path)
{
    // Files come in runs of one folder: the answer for the last folder asked about is kept,
    // since the identity of each parent folder costs a look-up of its own.
    static char lastFolder[kPathCapacity];
    static bool lastAnswer;
    char folder[kPathCapacity];
    if (!CopyText(folder, path))
        return true;
    *FileNamePart(folder) = '\0';
    if (folder[0] != '\0' && lstrcmpiA(folder, lastFolder) == 0)
        return lastAnswer;
    char systemFolders[kSystemFolderCount][kPathCapacity];
    ReadSystemFolders(systemFolders);
    bool inside = false;
    for (const char* systemFolder : systemFolders)
        inside = inside || (systemFolder[0] != '\0' && LiesInside(path, systemFolder));
    CopyText(lastFolder, folder);
    lastAnswer = inside;
    return inside;
}
