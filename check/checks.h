// The checks of one setup information file, one source per concern. Each reads the file the
// way the installer does (the package filled by the installer's own loader, entries turned
// into paths by its own resolver) and takes line numbers from the file's raw text.
#pragma once

#include <windows.h>

#include "base/handle.h"
#include "base/path.h"
#include "check/inf_text.h"
#include "check/text_set.h"
#include "setup/package.h"

// The setup information file under check, and what the checks share about it.
struct CheckedFile {
    const char* name = "";     // file name as printed
    Package package = {};      // as the installer's loader reads it
    InfText text;
    UINT codePage = 0;         // 932 or 950 for the Japanese and Chinese files; 0: the user's
    bool japaneseOnly = false; // read only by the Japanese wizard (full installation)
    bool chineseOnly = false;  // read only by the Chinese wizard (reduced installation)
    bool asciiOnly = false;    // read under every user's code page (the English file)
    char folder[kPathCapacity] = "";  // the "Folder" value as read
    // Full paths of what the installation puts in place: slot 0 the installer's copy, slot 1
    // the setup file's copy, slot i + 1 file entry i; empty for an entry never installed.
    char (*targets)[kPathCapacity] = nullptr;  // in targetBlock
    int targetCount = 0;
    HeapBlock targetBlock;
    TextSet installed;  // over targets: every non-empty one offered, in order
};

// [Install] values: Title, Folder, InstallKey, Version, Publisher, RemoveNone. True when the installer's loader
// accepts the file, so that the entries can be checked.
bool CheckSettings(CheckedFile& file);

// [Install] file entries: sources, destinations, numbering, the "02" rule and the size. Fills
// file.targets.
void CheckFileEntries(CheckedFile& file);

// [Group] entries and the single shortcut's "Shortcut": names and targets.
void CheckShortcuts(const CheckedFile& file);

// [Reg] values against the uninstaller's roots and its list of shared keys.
void CheckRegistryEntries(const CheckedFile& file);

// Numbered keys of section that the reader never reaches: after a gap (count entries are
// read), or written with leading zeros.
void CheckNumbering(const CheckedFile& file, const char* section, int count);

// Bytes that the file's code page cannot carry.
void CheckCodePage(const CheckedFile& file);

// Full path of path into out (separators made "\\", ".." resolved); false when it does not fit.
bool FullPathOf(const char* path, char (&out)[kPathCapacity]);
