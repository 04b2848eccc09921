// Entry resolution: file entries, the two pseudo entries and group entries into paths.
#pragma once

#include <stddef.h>

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

// Resolves file entry i (kInstallerEntry, kSetupFileEntry, or 1..N the file entries) into installState.entrySource and entryTarget. Returns false when the
// destination does not fit in 259 characters: the entry must then be skipped (never copied,
// never deleted) and both fields are empty; so does a destination that names a device ("CON",
// "aux.txt"). *mayRemove tells whether the uninstaller may delete the destination (false for
// the system-folder macro, and for a destination that ".." components lead out of its base
// folder); *leavesItsFolder tells the latter, whose file must never replace one already there.
bool ResolveInstallEntry(int i, bool* mayRemove = nullptr, bool* leavesItsFolder = nullptr);

// Resolves group entry i into the shortcut name (entrySource) and the target specification
// prefixed by installDir (entryTarget). An entry without a comma gives two empty fields.
// Returns false, with both fields empty, when the target does not fit.
bool ResolveGroupEntry(int i);
