// Whether two paths name one file or one folder, and whether a path lies inside a folder: the
// text decides first, the identity of an open file or folder settles what text alone cannot.
#pragma once

#include <windows.h>

// What the file system identifies a file or folder by: its volume and its index there.
struct FileIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
};

// False when the file or folder cannot be opened (a folder cannot on Windows 95), or when its
// file system numbers nothing (every index zero decides nothing).
bool ReadFileIdentity(const char* path, FileIdentity* identity);
bool SameIdentity(const FileIdentity& first, const FileIdentity& second);

// True when first and second name one file. Paths differing only in case, in short and long
// names, in "." and ".." or in "/" for "\" compare equal as text; where the text cannot
// decide, two existing files are compared by volume and file index. False when neither can
// tell (a path too long, a file that cannot be opened).
bool IsSameFile(const char* first, const char* second);

// True when path (a file or a folder, existing or not) is folder or lies below it: by the full
// paths' text, or by the identity of folder and of one of path's existing parents, so that
// another drive letter mapped onto the same folder, a short name or ".." leads to the same
// answer.
bool LiesInside(const char* path, const char* folder);

// True when full (a full path) is folder (a full path, with or without its trailing separator)
// or lies below it, by the text alone, ignoring case.
bool TextLiesInside(const char* full, const char* folder);

// True when both paths name one folder: the same full path, or two existing folders of the
// same identity.
bool IsSameFolder(const char* first, const char* second);
