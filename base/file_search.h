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
    // The name by which a path may reach the found entry: the listed name when it can be the
    // entry's own, else the short (8.3) name when the listing gives one that can; nullptr when
    // neither can. The ANSI listing spells a character its code page lacks by a "best fit"
    // (under code page 932 the yen sign comes back as the byte of "\\", under 1252 the
    // fullwidth reverse solidus does) or by "?": joined to the folder, such a name could name
    // another file, even one outside the folder.
    const char* UsableName() const;

    WIN32_FIND_DATAA findData = {};

private:
    FindHandle search_;
};

// True when name can be the real name of a file or folder in a listing: it holds no separator,
// drive colon, wildcard or other character that no name holds (the second byte of a
// double-byte character, which may equal "\\", is no such character), and it does not end
// with a dot or a space, which the system strips from a path ("." and ".." are refused so).
bool IsRealFileName(const char* name);

// Attributes, size and last write time of one file or folder (the fields that
// WIN32_FILE_ATTRIBUTE_DATA and WIN32_FIND_DATAA begin with alike); false when it is missing.
// GetFileAttributesExA, from Windows 98 and NT 4 on, is a fraction of a search's cost; on
// Windows 95 the name is searched for. path must hold no wildcard.
bool ReadFileFacts(const char* path, WIN32_FIND_DATAA* data);
