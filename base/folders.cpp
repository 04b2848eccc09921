// Folder creation, one level at a time from the top down; a failure goes back to the caller.
#include "base/folders.h"

#include <windows.h>

#include "base/log.h"
#include "base/path.h"
#include "res/resource.h"

namespace {

bool Fail(FolderFailure* failure, int messageId, const char* path, DWORD error)
{
    failure->messageId = messageId;
    failure->error = error;
    if (!CopyText(failure->path, path))
        failure->path[0] = '\0';
    return false;
}

}  // namespace

bool CreateFolderLevel(char* path, FolderFailure* failure)
{
    char* root = FindRootEnd(path);
    if (root != nullptr && root[1] == '\0')
        return true;

    // The folder is tested and created without its trailing separator.
    char* separator = FindLastSeparator(path);
    char saved = 0;
    if (separator != nullptr && separator[1] == '\0') {
        saved = *separator;
        *separator = '\0';
    }

    bool ok = true;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (CreateDirectoryA(path, nullptr))
            LogAction(LogFolderMade, path);
        else
            ok = Fail(failure, IDS_FOLDER_FAILED, path, GetLastError());
    } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ok = Fail(failure, IDS_FOLDER_IS_FILE, path, ERROR_ALREADY_EXISTS);
    }

    if (saved)
        *separator = saved;
    return ok;
}

bool CreateFolderTree(char* path, FolderFailure* failure)
{
    // Only "X:\" paths are walked level by level (the first byte is not tested).
    if (path[0] == '\0' || path[1] != ':' || path[2] != '\\')
        return CreateFolderLevel(path, failure);

    char* position = path + 3;
    for (;;) {
        char* separator = FindFirstSeparator(position);
        if (separator == nullptr)
            return true;
        char saved = separator[1];
        separator[1] = '\0';
        bool ok = CreateFolderLevel(path, failure);
        separator[1] = saved;
        if (!ok)
            return false;
        position = separator + 1;
    }
}
