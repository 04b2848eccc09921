// Whether two paths name one file. The text decides first, since it needs no file; short names
// and the identity of an open file settle what text alone cannot (another spelling of a
// folder, a drive mapped twice).
#include "base/same_file.h"

#include <windows.h>

#include "base/handle.h"
#include "base/path.h"

namespace {

// A file opened only to read its identity. No access rights asked: Windows NT and Wine then
// open a file whatever share mode another program holds it with, such as a running program's
// own file.
bool ReadIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* info)
{
    FileHandle file(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    return file.IsOpen() && GetFileInformationByHandle(file.Get(), info);
}

bool FullPath(const char* path, char (&full)[kPathCapacity])
{
    DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    return length != 0 && length < sizeof full;
}

// The short form of an existing file's path; Windows 95 has it, unlike the long form.
bool ShortPath(const char* full, char (&shortPath)[kPathCapacity])
{
    DWORD length = GetShortPathNameA(full, shortPath, sizeof shortPath);
    return length != 0 && length < sizeof shortPath;
}

bool SameIdentity(const char* first, const char* second)
{
    BY_HANDLE_FILE_INFORMATION infoA;
    BY_HANDLE_FILE_INFORMATION infoB;
    if (!ReadIdentity(first, &infoA) || !ReadIdentity(second, &infoB))
        return false;
    // A file system that numbers no files gives zero for every file: that decides nothing.
    if (infoA.nFileIndexHigh == 0 && infoA.nFileIndexLow == 0)
        return false;
    return infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
           infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
}

}  // namespace

bool IsSameFile(const char* first, const char* second)
{
    char fullA[kPathCapacity];
    char fullB[kPathCapacity];
    if (!FullPath(first, fullA) || !FullPath(second, fullB))
        return false;
    if (lstrcmpiA(fullA, fullB) == 0)
        return true;
    // A missing file is no other file. Checked first: the short names below look up every
    // folder of both paths, which costs more than copying a small file.
    if (GetFileAttributesA(fullB) == INVALID_FILE_ATTRIBUTES)
        return false;
    char shortA[kPathCapacity];
    char shortB[kPathCapacity];
    if (ShortPath(fullA, shortA) && ShortPath(fullB, shortB) && lstrcmpiA(shortA, shortB) == 0)
        return true;
    return SameIdentity(fullA, fullB);
}
