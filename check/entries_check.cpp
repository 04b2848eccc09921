// [Install] file entries: each resolved by the installer's own resolver, then its source looked
// for in the package and its destination judged as the installer and the uninstaller judge it.
#include "check/checks.h"

#include "base/file_search.h"
#include "base/text.h"
#include "check/report.h"
#include "setup/entries.h"
#include "setup/entry_reader.h"
#include "setup/install_plan.h"
#include "setup/install_state.h"

namespace {

// The folder page asks for this much free space for a full installation (the Japanese wizard's
// only kind), whatever the files need; a reduced one is measured.
constexpr unsigned long long kFullInstallMegabytes = 1250;
constexpr unsigned kMegabyteShift = 20;
constexpr size_t kEntryCapacity = kPathCapacity + 1;

struct EntryPlace {
    int line;
    char key[16];
};

bool IsKnownMacro(int letter)
{
    return letter == 0 || letter == 'd' || letter == 'm' || letter == 's' || letter == 'w';
}

bool IsAbsolute(const char* path)
{
    return FindRootEnd(path) != nullptr || path[0] == '\\' || path[0] == '/';
}

// The source as the copy step opens it: relative sources lie in the installer's folder.
bool SourcePath(const Package& package, const char* source, char (&path)[kPathCapacity])
{
    if (IsAbsolute(source))
        return CopyText(path, source);
    return CopyText(path, package.sourceDir) && AppendText(path, source);
}

// Bytes of a file; false when there is no such file (a folder is none). Read with one call per
// entry, a fraction of a search's cost under Wine.
bool FileBytes(const char* path, unsigned long long* bytes)
{
    WIN32_FIND_DATAA facts;
    if (!ReadFileFacts(path, &facts) || (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    *bytes = (static_cast<unsigned long long>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
    return true;
}

void ReportEntry(Severity severity, const EntryPlace& place, const char* text, const char* text2 = "",
                 const char* text3 = "", const char* text4 = "")
{
    Report(severity, place.line, kInstallSection, place.key, text, text2, text3, text4);
}

// The destination after the comma: the folder macro and ".." as the resolver and the
// uninstaller treat them. False when the entry has already been reported.
bool CheckDestination(const EntryPlace& place, char* destination, bool mayRemove)
{
    while (IsWhiteSpace(*destination))
        ++destination;
    if (*destination == '\0') {
        ReportEntry(Severity::Error, place, "nothing after the comma: the destination is the destination folder itself, not a file");
        return false;
    }
    char expanded[kPathCapacity];
    int letter = ExpandPathMacro(destination, expanded, sizeof expanded);
    if (!IsKnownMacro(letter)) {
        char macro[3] = {destination[0], '!', '\0'};
        ReportEntry(Severity::Error, place, "unknown folder macro \"", macro, "\": the file cannot be installed (d!, m!, s! and w! are known)");
        return false;
    }
    if (!mayRemove && letter != 's') {
        ReportEntry(Severity::Error, place, "\"..\" leads the destination out of its folder: the file is installed but never removed");
        return false;
    }
    return true;
}

// The same destination as an earlier entry (or the installer's or the setup file's copy).
void CheckDuplicate(CheckedFile& file, const EntryPlace& place, int slot)
{
    const char* target = file.targets[slot];
    int earlier = file.installed.FindOrAdd(slot);
    if (earlier < 0)
        return;
    if (earlier == 0)
        ReportEntry(Severity::Error, place, "installs onto the installer's own copy (", target, "), which is installed anyway");
    else if (earlier == 1)
        ReportEntry(Severity::Error, place, "installs onto the setup information file's copy (", target, "), which is installed anyway");
    else
        ReportEntry(Severity::Error, place, "the same destination as entry ", NumberText(static_cast<unsigned>(earlier - 1)), ": ", target);
}

void CheckReducedOnly(const CheckedFile& file, const EntryPlace& place, const char* source)
{
    if (file.japaneseOnly || lstrcmpA(source, kReducedOnlySource) != 0)
        return;
    if (file.chineseOnly)
        ReportEntry(Severity::Warning, place, "source \"02\" is never installed: the Chinese folder page offers no full installation, and the reduced one leaves \"02\" out");
    else
        ReportEntry(Severity::Warning, place, "source \"02\" is installed only by the Japanese wizard: the English and Chinese folder pages offer no full installation, and the reduced one leaves \"02\" out");
}

}  // namespace

void CheckFileEntries(CheckedFile& file)
{
    int count = file.package.fileCount;
    file.targetCount = count + 2;
    file.targets = static_cast<char(*)[kPathCapacity]>(
        AllocateHeapBlock(file.targetBlock, sizeof(char[kPathCapacity]) * file.targetCount, HEAP_ZERO_MEMORY));
    if (file.targets == nullptr) {
        file.targetCount = 0;
        Report(Severity::Error, LineOf(file.text, kInstallSection, "1"), kInstallSection, "1",
               "too many entries for the check's memory (", NumberText(static_cast<unsigned>(count)),
               "): the entries are not checked");
        return;
    }
    file.installed.Prepare(file.targets, file.targetCount);

    // The installer and the setup file are copied too, and count for the size.
    unsigned long long bytes = 0;
    for (int i = kFirstPlannedEntry; i <= kSetupFileEntry; ++i) {
        char source[kPathCapacity];
        unsigned long long size = 0;
        ResolvedEntry pseudo = ResolveInstallEntry(file.package, i);
        if (pseudo.resolved && FullPathOf(pseudo.target, file.targets[i + 1]) && SourcePath(file.package, pseudo.source, source) &&
            FileBytes(source, &size))
            bytes += size;
    }
    for (int slot = 0; slot < 2; ++slot) {
        if (file.targets[slot][0] != '\0')
            file.installed.FindOrAdd(slot);
    }

    bool sizeReported = file.chineseOnly;
    for (int i = 1; i <= count; ++i) {
        EntryPlace place;
        CopyText(place.key, NumberText(static_cast<unsigned>(i)));
        place.line = LineOf(file.text, kInstallSection, place.key);

        char entry[kEntryCapacity];
        ReadNumberedEntry(file.package.infPath, kInstallSection, static_cast<unsigned>(i), entry, sizeof entry);
        char* comma = FindChar(entry, ',');
        ResolvedEntry resolved = ResolveInstallEntry(file.package, i);
        bool mayRemove = resolved.mayRemove;
        if (!resolved.resolved) {
            if (NamesDevice(comma != nullptr ? comma + 1 : entry))
                ReportEntry(Severity::Error, place, "the destination names a device (CON, NUL, AUX, PRN, COM1, LPT1...): the file is never installed");
            else
                ReportEntry(Severity::Error, place, "the destination below the default folder ", installState.installDir,
                            " is longer than 259 characters: the file is never installed");
            continue;
        }
        if (comma != nullptr ? !CheckDestination(place, comma + 1, mayRemove) : !mayRemove) {
            if (comma == nullptr)
                ReportEntry(Severity::Error, place, "\"..\" leads the destination out of its folder: the file is installed but never removed");
            continue;
        }

        char source[kPathCapacity];
        unsigned long long size = 0;
        if (!SourcePath(file.package, resolved.source, source) || !FileBytes(source, &size))
            ReportEntry(Severity::Error, place, "source file \"", resolved.source,
                        "\" is not in the package: the installer reports \"Failed in copying\" for it");
        bytes += size;
        if (!sizeReported && (bytes + (1ull << kMegabyteShift) - 1) >> kMegabyteShift > kFullInstallMegabytes) {
            ReportEntry(Severity::Warning, place, "the files up to this entry need ",
                        NumberText(static_cast<unsigned>((bytes + (1ull << kMegabyteShift) - 1) >> kMegabyteShift)),
                        " MB, more than the 1250 MB of free space that the folder page asks for a full installation");
            sizeReported = true;
        }
        CheckReducedOnly(file, place, resolved.source);

        if (FullPathOf(resolved.target, file.targets[i + 1]))
            CheckDuplicate(file, place, i + 1);
    }
    CheckNumbering(file, kInstallSection, count);
}

bool FullPathOf(const char* path, char (&out)[kPathCapacity])
{
    DWORD length = GetFullPathNameA(path, sizeof out, out, nullptr);
    if (length == 0 || length >= sizeof out) {
        out[0] = '\0';
        return false;
    }
    return true;
}
