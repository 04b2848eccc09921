// Deferred deletion of the worker copy, which cannot delete its own file while it runs. Older
// systems lack the delayed deletion of MoveFileExA; their start-up deletes the files named by
// "NUL=" lines in section "rename" of "wininit.ini".
#include "uninstall/reboot_delete.h"

#include <windows.h>

#include "base/path.h"

namespace {

constexpr const char* kWininitFile = "wininit.ini";
constexpr const char* kRenameSection = "rename";
constexpr const char* kDeletePrefix = "NUL=";
constexpr size_t kEntryCapacity = 264;  // "NUL=" and a path
// GetPrivateProfileSectionA is asked for 32767 characters: the image ends in two NULs.
constexpr DWORD kSectionReadCapacity = 32767;
constexpr size_t kSectionCapacity = 32768;

}  // namespace

void ScheduleDeleteOnReboot(const char* path)
{
    if (MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        return;
    ScheduleDeleteInWininit(path);
}

void ScheduleDeleteInWininit(const char* path)
{
    // Start-up reads wininit.ini before long names are available: the short form is needed.
    // Without it a "NUL=" line would name nothing, or another file.
    char shortPath[kPathCapacity];
    DWORD length = GetShortPathNameA(path, shortPath, sizeof shortPath);
    if (length == 0 || length >= sizeof shortPath)
        return;
    char entry[kEntryCapacity];
    if (!CopyText(entry, kDeletePrefix) || !AppendText(entry, shortPath))
        return;

    // Lines are "key=value", each ended by a NUL; the last one is followed by one more NUL.
    static char image[kSectionCapacity];
    DWORD imageLength = GetPrivateProfileSectionA(kRenameSection, image, kSectionReadCapacity, kWininitFile);
    // A section that did not fit is not known whole; writing it back would lose lines.
    if (imageLength + 2 >= kSectionReadCapacity)
        return;
    if (imageLength == 0) {
        WritePrivateProfileStringA(kRenameSection, "NUL", shortPath, kWininitFile);
        return;
    }

    size_t end = 0;
    while (image[end] != '\0') {
        if (lstrcmpA(image + end, entry) == 0)
            return;  // already scheduled
        end += lstrlenA(image + end) + 1;
    }
    size_t entryLength = lstrlenA(entry);
    if (end + entryLength + 2 > kSectionReadCapacity)
        return;
    CopyMemory(image + end, entry, entryLength + 1);
    image[end + entryLength + 1] = '\0';
    // Several "NUL" keys stand side by side: the section is written back whole, since a
    // key-wise write would replace the first "NUL" line.
    WritePrivateProfileSectionA(kRenameSection, image, kWininitFile);
}
