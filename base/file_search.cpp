// FileSearch: one FindFirstFileA search, closed when its scope ends.
#include "base/file_search.h"

bool FileSearch::First(const char* pattern)
{
    search_.Reset(FindFirstFileA(pattern, &findData));
    return search_.IsOpen();
}

bool FileSearch::Next()
{
    return search_.IsOpen() && FindNextFileA(search_.Get(), &findData);
}

bool FileSearch::IsDotEntry() const
{
    const char* name = findData.cFileName;
    return (name[0] == '.' && name[1] == '\0') || (name[0] == '.' && name[1] == '.');
}

bool FileSearch::IsDirectory() const
{
    return (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

const char* FileSearch::UsableName() const
{
    if (IsRealFileName(findData.cFileName))
        return findData.cFileName;
    if (IsRealFileName(findData.cAlternateFileName))
        return findData.cAlternateFileName;
    return nullptr;
}

bool IsRealFileName(const char* name)
{
    static const char kNeverInNames[] = "\\/:?*<>|\"";
    if (name[0] == '\0')
        return false;
    // Stepped by characters: a lead byte is never one of the bytes looked for, and its trail
    // byte is passed over with it.
    const char* last = name;
    for (const char* p = name; *p != '\0'; p = CharNextA(p)) {
        last = p;
        if (static_cast<unsigned char>(*p) < ' ')
            return false;
        for (const char* never = kNeverInNames; *never != '\0'; ++never) {
            if (*p == *never)
                return false;
        }
    }
    return *last != '.' && *last != ' ';
}

bool ReadFileFacts(const char* path, WIN32_FIND_DATAA* data)
{
    typedef BOOL(WINAPI * FileAttributesEx)(LPCSTR, GET_FILEEX_INFO_LEVELS, LPVOID);
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFileAttributesExA");
    if (found != nullptr)
        return reinterpret_cast<FileAttributesEx>(reinterpret_cast<void (*)()>(found))(path, GetFileExInfoStandard, data) != FALSE;
    // A search would take "?" and "*" for wildcards and find some other file.
    for (const char* p = path; *p; ++p) {
        if (*p == '?' || *p == '*')
            return false;
    }
    FileSearch search;
    if (!search.First(path))
        return false;
    *data = search.findData;
    return true;
}
