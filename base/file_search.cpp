// FileSearch: one FindFirstFileA search, closed when its scope ends.
#include "base/file_search.h"

bool FileSearch::First(const char* pattern)
{
    Close();
    handle = FindFirstFileA(pattern, &findData);
    return handle != INVALID_HANDLE_VALUE;
}

bool FileSearch::Next()
{
    return handle != INVALID_HANDLE_VALUE && FindNextFileA(handle, &findData);
}

void FileSearch::Close()
{
    if (handle != INVALID_HANDLE_VALUE) {
        FindClose(handle);
        handle = INVALID_HANDLE_VALUE;
    }
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
