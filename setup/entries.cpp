// Entry resolution: turns a file entry, one of the two pseudo entries or a group entry of the
// setup information file into concrete paths, returned by value.
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
bool ReadEntry(const Package& package, const char* section, int i, char* entry)
{
    entry[0] = '\0';
    if (package.infPath[0] == '\0')
        return true;
    return ReadNumberedEntry(package.infPath, section, static_cast<unsigned>(i), entry, kEntryReadCapacity) < kPathCapacity;
}

// A refused entry: never copied, never removable, both paths empty.
ResolvedEntry Refused()
{
    ResolvedEntry entry;
    entry.resolved = false;
    entry.mayRemove = false;
    entry.leavesItsFolder = false;
    entry.source[0] = '\0';
    entry.target[0] = '\0';
    return entry;
}

// A file of the system folder stays at uninstall, and so does one that ".." leads out of its
// base folder; only the latter may never replace a file that is already there.
ResolvedEntry Placed(ResolvedEntry entry, bool shared, bool withinBase)
{
    entry.resolved = true;
    entry.leavesItsFolder = !withinBase;
    entry.mayRemove = !shared && withinBase;
    return entry;
}

// target = installDir followed directly by name (installDir ends with a separator).
bool TargetInInstallDir(char (&target)[kPathCapacity], const char* name)
{
    return CopyText(target, installState.installDir) && AppendText(target, name);
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

ResolvedEntry ResolveInstallEntry(const Package& package, int i)
{
    ResolvedEntry result = Refused();
    if (i == kInstallerEntry) {
        if (!CopyText(result.source, package.exeName) || !TargetInInstallDir(result.target, package.exeName))
            return Refused();
        return Placed(result, false, true);
    }
    if (i == kSetupFileEntry) {
        // The installed copy always bears the program's base name, the first name looked for
        // beside the installed program, whatever language-specific name the source had.
        if (!CopyText(result.source, package.infName) || !TargetInInstallDir(result.target, package.exeName) ||
            !ReplaceExtension(result.target, "INF"))
            return Refused();
        return Placed(result, false, true);
    }
    if (i < -1)
        return Refused();

    char entry[kEntryReadCapacity];
    if (!ReadEntry(package, kInstallSection, i, entry))
        return Refused();

    // A destination that names a device ("CON", "aux.txt") would be written to the device.
    char* comma = FindChar(entry, ',');
    if (comma == nullptr) {
        if (NamesDevice(entry) || !TargetInInstallDir(result.target, entry))
            return Refused();
        CopyText(result.source, entry);
        return Placed(result, false, LiesInside(result.target, installState.installDir));
    }

    *comma = '\0';
    int letter = ExpandPathMacro(comma + 1, result.target, sizeof result.target);
    if (letter == kExpandTooLong || NamesDevice(comma + 1))
        return Refused();
    CopyText(result.source, entry);
    // The system folder's files are shared with other programs: the uninstaller leaves them.
    char base[kPathCapacity];
    return Placed(result, letter == 's', SpecBaseFolder(comma + 1, base) && LiesInside(result.target, base));
}

ResolvedEntry ResolveGroupEntry(const Package& package, int i)
{
    char entry[kEntryReadCapacity];
    if (i < 1 || !ReadEntry(package, kGroupSection, i, entry))
        return Refused();

    ResolvedEntry result = Refused();
    char* comma = FindChar(entry, ',');
    if (comma == nullptr) {
        result.resolved = true;
        return result;
    }
    *comma = '\0';
    if (!TargetInInstallDir(result.target, comma + 1))
        return Refused();
    CopyText(result.source, entry);
    result.resolved = true;
    return result;
}
