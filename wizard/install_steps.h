// The install step sequence with its copy and overwrite rules.
#pragma once

#include <windows.h>
#include <stddef.h>

// The command the copy page posts to itself for each step.
constexpr WPARAM kStepCommand = 1;

// Runs the next step on the copy page (installState.ownerWindow) and posts the command for the
// one after it; after the last step the page shows the outcome.
void RunInstallStep();

// What to do with an existing, newer target: the installer itself is replaced without a
// question, every other file only when the user agrees; a destination that ".." leads out of
// its folder never replaces anything.
enum ReplaceRule { AskBeforeReplacingNewer, ReplaceSilently, NeverReplace };

// Copies entrySource to entryTarget under rule.
bool CopyEntryFile(ReplaceRule rule);
bool ConfirmOverwrite(const char* source, const char* target);

// "date time  name" of one file, in the user's short date and 24-hour time.
void FormatFileStamp(char* out, size_t capacity, const char* name, const FILETIME& lastWrite);
