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

// Attributes, size and last write time of one file or folder (the fields that
// WIN32_FILE_ATTRIBUTE_DATA and WIN32_FIND_DATAA begin with alike); false when it is missing.
// GetFileAttributesExA, from Windows 98 and NT 4 on, is a fraction of a search's cost; on
// Windows 95 the name is searched for. path must hold no wildcard.
bool ReadFileFacts(const char* path, WIN32_FIND_DATAA* data);
