// FileSearch: owner of one directory search, closed when its scope ends.
#pragma once

#include <windows.h>

#include "base/handle.h"

class FileSearch {
public:
    FileSearch() = default;
    ~FileSearch() { Close(); }
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    // Starts a search; false when nothing matches (the owner then holds no handle).
    bool First(const char* pattern);
    bool Next();
    void Close() { search_.Close(); }

    // The found name is "." or ".." (or anything beginning with two dots).
    bool IsDotEntry() const;
    bool IsDirectory() const;

    WIN32_FIND_DATAA findData = {};

private:
    FindHandle search_;
};
