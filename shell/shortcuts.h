// Shortcut manager: creates and removes the .lnk files of one place.
#pragma once

#include "setup/engine_report.h"
#include "setup/package.h"

enum ShortcutPlace { ProgramMenu = 0, Desktop = 1, Startup = 2 };

enum ShortcutUpdate { MakeShortcuts = 0, RemoveShortcuts = 1 };

// A program-menu folder that cannot be made goes to report; the shortcuts are then not made.
// Deletes a shortcut an install recorded (a full path to a ".lnk" file, nothing else), and the
// folders above it that this leaves empty, up to the first of the user's shell folders.
void RemoveRecordedShortcut(const char* file);

void UpdateShortcuts(const Package& package, ShortcutPlace place, ShortcutUpdate update, EngineReport& report);
