// The plan of an installation: the steps the engine runs in order, which the free-space sum,
// the copy page, the unattended install, the removal's reverse walk and the checker all read
// from here.
#pragma once

#include "setup/entries.h"

enum class StepKind {
    MakeFolder,                // the destination folder, every level of it
    CopyEntry,                 // the installer, its setup file, then file entries 1..N
    ShortcutsAndRegistration,  // the shortcuts and the uninstall entry
};

struct PlanStep {
    StepKind kind;
    int entry;  // the file entry a CopyEntry step copies
};

// The first and last file entry that an installation copies (and its removal deletes, from
// the last back to the first).
constexpr int kFirstPlannedEntry = kInstallerEntry;
constexpr int LastPlannedEntry(int fileCount)
{
    return fileCount;
}

// The number of steps of a package with fileCount file entries.
constexpr int InstallStepCount(int fileCount)
{
    return LastPlannedEntry(fileCount) - kFirstPlannedEntry + 3;
}

constexpr PlanStep InstallStepAt(int fileCount, int step)
{
    return step == 0                                   ? PlanStep{StepKind::MakeFolder, 0}
           : step == InstallStepCount(fileCount) - 1 ? PlanStep{StepKind::ShortcutsAndRegistration, 0}
                                                       : PlanStep{StepKind::CopyEntry, kFirstPlannedEntry + step - 1};
}
