// Entry resolution: file entries, the two pseudo entries and group entries into paths.
#pragma once

#include <stddef.h>

#include "base/path.h"
#include "setup/package.h"

// The sections of the setup information file that hold numbered entries.
constexpr const char* kInstallSection = "Install";
constexpr const char* kGroupSection = "Group";
constexpr const char* kRegSection = "Reg";

// The keys of the [Install] section besides the numbered entries.
constexpr const char* kTitleKey = "Title";
constexpr const char* kFolderKey = "Folder";
constexpr const char* kInstallKeyKey = "InstallKey";
constexpr const char* kMenuKey = "Menu";
constexpr const char* kShortcutKey = "Shortcut";
constexpr const char* kResidentKey = "TSR";
constexpr const char* kRemoveNoneKey = "RemoveNone";
constexpr const char* kOpenKey = "Open";
constexpr const char* kVersionKey = "Version";
constexpr const char* kPublisherKey = "Publisher";

// The two pseudo entries that come before the file entries 1..N: the installer itself and its
// setup information file, copied and removed like file entries.
constexpr int kInstallerEntry = -1;
constexpr int kSetupFileEntry = 0;

// The source text of the entries that the reduced installation leaves out.
constexpr const char* kReducedOnlySource = "02";

// Result of ExpandPathMacro when the expanded path does not fit in the caller's buffer.
constexpr int kExpandTooLong = -1;

// Expands a destination specification (optional white space, optional folder macro "x!",
// then a path relative to the base folder) into out. Returns the lower-cased macro letter,
// 0 without a macro, or kExpandTooLong when the result would not fit (out is then empty).
// spec must not lie inside out, which is written before spec has been read.
int ExpandPathMacro(const char* spec, char* out, size_t capacity);

// A file or group entry resolved into paths. An entry that is not resolved is never copied
// and never deleted, and both paths are empty.
struct ResolvedEntry {
    bool resolved;
    bool mayRemove;        // the uninstaller may delete target
    bool leavesItsFolder;  // ".." leads target out of its base folder: it never replaces a file
    char source[kPathCapacity];  // the source file, or a group entry's shortcut name
    char target[kPathCapacity];  // the destination, or a group entry's target specification
};

// Resolves file entry i (kInstallerEntry, kSetupFileEntry, or 1..N the file entries). It is not
// resolved when the destination does not fit in 259 characters or names a device ("CON",
// "aux.txt"). A system-folder macro destination, and one that ".." components lead out of its
// base folder, may not be removed; the latter also leaves its folder.
ResolvedEntry ResolveInstallEntry(const Package& package, int i);

// Resolves group entry i into the shortcut name and the target specification prefixed by
// installDir. An entry without a comma resolves to two empty paths; one whose target does not
// fit is not resolved.
ResolvedEntry ResolveGroupEntry(const Package& package, int i);
