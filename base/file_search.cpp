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
