// Folder creation, one level at a time from the top down, with the user told of failures.
#include "base/folders.h"

#include <windows.h>

#include "base/message_box.h"
#include "base/messages.h"
#include "base/path.h"
#include "res/resource.h"

bool CreateFolderLevel(char* path, HWND owner)
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
        if (!CreateDirectoryA(path, nullptr)) {
            ShowMessageBox(owner, FormatMessageText(IDS_FOLDER_FAILED, path), nullptr, MB_ICONERROR);
            ok = false;
        }
    } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ShowMessageBox(owner, FormatMessageText(IDS_FOLDER_IS_FILE, path), nullptr, MB_ICONERROR);
        ok = false;
    }

    if (saved)
        *separator = saved;
    return ok;
}

bool CreateFolderTree(char* path, HWND owner)
{
    // Only "X:\" paths are walked level by level (the first byte is not tested).
    if (path[0] == '\0' || path[1] != ':' || path[2] != '\\')
        return CreateFolderLevel(path, owner);

    char* position = path + 3;
    for (;;) {
        char* separator = FindFirstSeparator(position);
        if (separator == nullptr)
            return true;
        char saved = separator[1];
        separator[1] = '\0';
        bool ok = CreateFolderLevel(path, owner);
        separator[1] = saved;
        if (!ok)
            return false;
        position = separator + 1;
    }
}
