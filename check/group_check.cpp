// Shortcuts: the [Group] entries and the single shortcut's "Shortcut", each resolved and taken
// apart by the installer's own routines, and their targets looked for among the installed files.
#include "check/checks.h"

#include "base/text.h"
#include "check/report.h"
#include "setup/entries.h"
#include "setup/entry_reader.h"
#include "setup/install_state.h"
#include "shell/target_spec.h"

namespace {

constexpr const char* kGroup = "Group";
constexpr const char* kInstall = "Install";
constexpr size_t kEntryCapacity = kPathCapacity + 1;

bool HasComma(const char* text)
{
    for (const char* p = text; *p; p = CharNextA(p)) {
        if (*p == ',')
            return true;
    }
    return false;
}

// True when the target specification target starts one of the installed files; *path receives
// its program path.
bool TargetIsInstalled(const CheckedFile& file, const char* target, char (&path)[kPathCapacity])
{
    char text[kPathCapacity];
    CopyText(text, target);
    TargetSpec spec;
    ParseTargetSpec(text, &spec);
    CopyText(path, spec.path);
    char full[kPathCapacity];
    return FullPathOf(spec.path, full) && file.installed.Find(full) >= 0;
}

void CheckSingleShortcut(const CheckedFile& file)
{
    if (file.package.shortcutTarget[0] == '\0')
        return;
    int line = LineOf(file.text, kInstall, "Shortcut");
    char path[kPathCapacity];
    char target[kPathCapacity];
    if (!CopyText(target, installState.installDir) || !AppendText(target, file.package.shortcutTarget))
        Report(Severity::Error, line, kInstall, "Shortcut", "the target below the default folder is longer than 259 characters: no shortcut is made");
    else if (!TargetIsInstalled(file, target, path))
        Report(Severity::Error, line, kInstall, "Shortcut", "target \"", path, "\" is not one of the installed files");
}

}  // namespace

void CheckShortcuts(const CheckedFile& file)
{
    int count = file.package.groupCount;
    HeapBlock nameBlock;
    char (*names)[kPathCapacity] = static_cast<char(*)[kPathCapacity]>(
        AllocateHeapBlock(nameBlock, sizeof(char[kPathCapacity]) * (count + 1), HEAP_ZERO_MEMORY));
    TextSet nameSet;
    if (names != nullptr)
        nameSet.Prepare(names, count + 1);
    for (int n = 1; n <= count; ++n) {
        char key[16];
        CopyText(key, NumberText(static_cast<unsigned>(n)));
        int line = LineOf(file.text, kGroup, key);
        ResolvedEntry entry = ResolveGroupEntry(file.package, n);
        if (!entry.resolved) {
            Report(Severity::Error, line, kGroup, key, "the target below the default folder is longer than 259 characters: no shortcut is made");
            continue;
        }
        if (entry.source[0] == '\0') {
            char entry[kEntryCapacity];
            ReadNumberedEntry(file.package.infPath, kGroup, static_cast<unsigned>(n), entry, sizeof entry);
            if (HasComma(entry))
                Report(Severity::Error, line, kGroup, key, "no name before the comma: no shortcut is made");
            else
                Report(Severity::Error, line, kGroup, key, "no comma between name and target: no shortcut is made");
            continue;
        }
        if (names != nullptr) {
            CopyText(names[n], entry.source);
            int earlier = nameSet.FindOrAdd(n);
            if (earlier > 0)
                Report(Severity::Error, line, kGroup, key, "the same shortcut name as entry ",
                       NumberText(static_cast<unsigned>(earlier)), ": one shortcut replaces the other");
        }
        char path[kPathCapacity];
        if (!TargetIsInstalled(file, entry.target, path))
            Report(Severity::Error, line, kGroup, key, "target \"", path, "\" is not one of the installed files");
    }
    CheckNumbering(file, kGroup, count);
    CheckSingleShortcut(file);
}
