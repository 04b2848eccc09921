// Whether two paths name one file or folder, and whether one lies inside a folder. The text
// decides first, since it needs no file; short names and the identity of an open file or
// folder settle what text alone cannot (another spelling of a folder, a drive mapped twice).
#include "base/same_file.h"

#include "base/handle.h"
#include "base/path.h"

namespace {

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

bool SamePathIdentity(const char* first, const char* second)
{
    FileIdentity a;
    FileIdentity b;
    return ReadFileIdentity(first, &a) && ReadFileIdentity(second, &b) && SameIdentity(a, b);
}

}  // namespace

bool TextLiesInside(const char* full, const char* folder)
{
    int length = lstrlenA(folder);
    if (lstrlenA(full) < length)
        return false;
    char head[kPathCapacity];
    CopyMemory(head, full, length);
    head[length] = '\0';
    if (lstrcmpiA(head, folder) != 0)
        return false;
    // "C:\Apps" is not inside "C:\App"; a root ends with its own separator.
    return full[length] == '\0' || IsSeparator(full[length]) || IsSeparator(folder[length - 1]);
}

bool ReadFileIdentity(const char* path, FileIdentity* identity)
{
    // No access rights asked: Windows NT and Wine then open a file whatever share mode another
    // program holds it with, such as a running program's own file. Folders open only with
    // backup semantics, which changes nothing for a file.
    FileHandle file(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.IsOpen() || !GetFileInformationByHandle(file.Get(), &info) ||
        (info.nFileIndexHigh == 0 && info.nFileIndexLow == 0))
        return false;
    identity->volume = info.dwVolumeSerialNumber;
    identity->indexHigh = info.nFileIndexHigh;
    identity->indexLow = info.nFileIndexLow;
    return true;
}

bool SameIdentity(const FileIdentity& first, const FileIdentity& second)
{
    return first.volume == second.volume && first.indexHigh == second.indexHigh && first.indexLow == second.indexLow;
}

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
    return SamePathIdentity(fullA, fullB);
}

bool LiesInside(const char* path, const char* folder)
{
    char full[kPathCapacity];
    char fullFolder[kPathCapacity];
    if (!FullPath(path, full) || !CopyText(fullFolder, folder) || !NormalizeFolderPath(fullFolder))
        return false;
    if (TextLiesInside(full, fullFolder))
        return true;
    FileIdentity wanted;
    if (!ReadFileIdentity(fullFolder, &wanted))
        return false;
    // path itself, then each parent up to its root.
    for (;;) {
        FileIdentity found;
        if (ReadFileIdentity(full, &found) && SameIdentity(found, wanted))
            return true;
        char* cut = FindLastSeparator(full);
        char* root = FindRootEnd(full);
        if (cut == nullptr || root == nullptr || cut < root || (cut == root && root[1] == '\0'))
            return false;
        // The root keeps its separator: "C:" alone is the current folder of drive C.
        if (cut == root)
            root[1] = '\0';
        else
            *cut = '\0';
    }
}

bool IsSameFolder(const char* first, const char* second)
{
    char a[kPathCapacity];
    char b[kPathCapacity];
    if (!CopyText(a, first) || !NormalizeFolderPath(a) || !CopyText(b, second) || !NormalizeFolderPath(b))
        return false;
    return lstrcmpiA(a, b) == 0 || SamePathIdentity(a, b);
}
