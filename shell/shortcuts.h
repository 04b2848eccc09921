// Shortcut manager: creates and removes the .lnk files of one place.
#pragma once

enum ShortcutPlace { ProgramMenu = 0, Desktop = 1, Startup = 2 };

enum ShortcutUpdate { MakeShortcuts = 0, RemoveShortcuts = 1 };

void UpdateShortcuts(ShortcutPlace place, ShortcutUpdate update);
