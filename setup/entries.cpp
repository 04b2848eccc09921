// Entry resolution: turns a file entry, one of the two pseudo entries or a group entry of the
// setup information file into concrete paths in installState.entrySource and entryTarget.
// A result that does not fit in a path is refused with both fields empty, never cut: a cut
// destination could name another file, which the uninstaller would then delete. For the same
// reason a destination that ".." leads out of its base folder (judged on the full paths, as the
// file system resolves them) is copied but never deleted.
#include "setup/entries.h"

#include <windows.h>

#include "base/path.h"
#include "base/registry_key.h"
#include "base/same_file.h"
#include "base/text.h"
#include "setup/entry_reader.h"
#include "setup/install_state.h"

namespace {

// One byte more than a path holds, so that an entry text of 260 characters or more shows up
// as such instead of being silently cut by the profile reader.
constexpr size_t kEntryReadCapacity = kPathCapacity + 1;

// Reads numbered key i of section into entry; false when the text does not fit in a path.
bool ReadEntry(const char* section, int i, char* entry)
{
    entry[0] = '\0';
    if (installState.infPath[0] == '\0')
        return true;
    return ReadNumberedEntry(section, static_cast<unsigned>(i), entry, kEntryReadCapacity) < kPathCapacity;
}

bool ClearEntry()
{
    installState.entrySource[0] = '\0';
    installState.entryTarget[0] = '\0';
    return false;
}

bool SetRemovable(bool* mayRemove, bool removable)
{
    if (mayRemove != nullptr)
        *mayRemove = removable;
    return true;
}

// A file of the system folder stays at uninstall, and so does one that ".." leads out of its
// base folder; only the latter may never replace a file that is already there.
bool SetPlace(bool* mayRemove, bool* leavesItsFolder, bool shared, bool withinBase)
{
    if (leavesItsFolder != nullptr)
        *leavesItsFolder = !withinBase;
    return SetRemovable(mayRemove, !shared && withinBase);
}

// entryTarget = installDir followed directly by name (installDir ends with a separator).
bool TargetInInstallDir(const char* name)
{
    return CopyText(installState.entryTarget, installState.installDir) && AppendText(installState.entryTarget, name);
}

// The base folder of macro letter into out; false when it cannot be had whole.
bool MacroBaseFolder(int letter, char* out, size_t capacity)
{
    if (letter == 'd' || letter == 'm') {
        // Read whole first: a folder too long for out must be refused, not taken for absent.
        // An empty value is taken for absent: as a base it would put the file at the root of
        // whatever drive is current.
        char folder[2048];
        if (ReadShellFolder(letter == 'd' ? "Desktop" : "Personal", folder) && folder[0] != '\0')
            return CopyText(out, capacity, folder);
        return true;  // absent: out keeps installDir
    }
    if (letter == 's' || letter == 'w') {
        UINT size = static_cast<UINT>(capacity);
        UINT length = letter == 's' ? GetSystemDirectoryA(out, size) : GetWindowsDirectoryA(out, size);
        return length != 0 && length < size;
    }
    // "?" cannot occur in a file name, so nothing can ever be created below this base.
    return CopyText(out, capacity, "\\?!");
}

// The base folder a destination specification names: its folder macro alone, or installDir.
bool SpecBaseFolder(const char* spec, char (&base)[kPathCapacity])
{
    while (IsWhiteSpace(*spec))
        ++spec;
    char macro[3] = "";
    if (spec[0] != '\0' && spec[1] == '!') {
        macro[0] = spec[0];
        macro[1] = '!';
    }
    return ExpandPathMacro(macro, base, sizeof base) != kExpandTooLong;
}

}  // namespace

int ExpandPathMacro(const char* spec, char* out, size_t capacity)
{
    if (capacity == 0)
        return kExpandTooLong;
    while (IsWhiteSpace(*spec))
        ++spec;

    int letter = 0;
    bool fits = CopyText(out, capacity, installState.installDir);
    if (fits && spec[0] != '\0' && spec[1] == '!') {
        letter = static_cast<unsigned char>(spec[0]);
        if (letter >= 'A' && letter <= 'Z')
            letter += 'a' - 'A';
        fits = MacroBaseFolder(letter, out, capacity);
        spec += 2;
    }
    if (!fits || !AppendPathPart(out, capacity, spec)) {
        out[0] = '\0';
        return kExpandTooLong;
    }
    return letter;
}

bool ResolveInstallEntry(int i, bool* mayRemove, bool* leavesItsFolder)
{
    // A refused entry is never removable, whatever a caller does with the result.
    if (mayRemove != nullptr)
        *mayRemove = false;
    if (leavesItsFolder != nullptr)
        *leavesItsFolder = false;

    if (i == kInstallerEntry) {
        if (!CopyText(installState.entrySource, installState.exeName) || !TargetInInstallDir(installState.exeName))
            return ClearEntry();
        return SetRemovable(mayRemove, true);
    }
    if (i == kSetupFileEntry) {
        // The installed copy always bears the program's base name, the first name looked for
        // beside the installed program, whatever language-specific name the source had.
        if (!CopyText(installState.entrySource, installState.infName) || !TargetInInstallDir(installState.exeName) ||
            !ReplaceExtension(installState.entryTarget, "INF"))
            return ClearEntry();
        return SetRemovable(mayRemove, true);
    }
    if (i < -1)
        return ClearEntry();

    char entry[kEntryReadCapacity];
    if (!ReadEntry(kInstallSection, i, entry))
        return ClearEntry();

    // A destination that names a device ("CON", "aux.txt") would be written to the device.
    char* comma = FindChar(entry, ',');
    if (comma == nullptr) {
        if (NamesDevice(entry) || !TargetInInstallDir(entry))
            return ClearEntry();
        CopyText(installState.entrySource, entry);
        return SetPlace(mayRemove, leavesItsFolder, false, LiesInside(installState.entryTarget, installState.installDir));
    }

    *comma = '\0';
    int letter = ExpandPathMacro(comma + 1, installState.entryTarget, sizeof installState.entryTarget);
    if (letter == kExpandTooLong || NamesDevice(comma + 1))
        return ClearEntry();
    CopyText(installState.entrySource, entry);
    // The system folder's files are shared with other programs: the uninstaller leaves them.
    char base[kPathCapacity];
    return SetPlace(mayRemove, leavesItsFolder, letter == 's',
                    SpecBaseFolder(comma + 1, base) && LiesInside(installState.entryTarget, base));
}

bool ResolveGroupEntry(int i)
{
    char entry[kEntryReadCapacity];
    if (i < 1 || !ReadEntry(kGroupSection, i, entry))
        return ClearEntry();

    char* comma = FindChar(entry, ',');
    if (comma == nullptr) {
        ClearEntry();
        return true;
    }
    *comma = '\0';
    if (!TargetInInstallDir(comma + 1))
        return ClearEntry();
    CopyText(installState.entrySource, entry);
    return true;
}
