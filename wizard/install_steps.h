// The install engine: runs the steps of the plan, reporting through an EngineReport.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "setup/engine_report.h"
#include "setup/entries.h"
#include "setup/package.h"

// Runs step step of package's plan (see setup/install_plan.h). What could not be done goes to
// the report and leaves installState.installIncomplete set.
void RunInstallStep(const Package& package, int step, EngineReport& report);

// What to do with an existing, newer target: the installer itself is replaced without a
// question, every other file only when the report's answer agrees; a destination that ".."
// leads out of its folder never replaces anything.
enum ReplaceRule { AskBeforeReplacingNewer, ReplaceSilently, NeverReplace };

// Copies entry's source to its target under rule.
bool CopyEntryFile(const ResolvedEntry& entry, ReplaceRule rule, EngineReport& report);
bool ConfirmOverwrite(const char* source, const char* target, EngineReport& report);

// Makes every level of path (ending with a separator); a failure goes to the report and leaves
// the installation incomplete.
bool MakeFolderTree(char* path, EngineReport& report);

// "date time  name" of one file, in the user's short date and 24-hour time.
void FormatFileStamp(char* out, size_t capacity, const char* name, const FILETIME& lastWrite);
