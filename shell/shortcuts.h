// Shortcut manager: creates and removes the .lnk files of one place.
#pragma once

enum ShortcutPlace { ProgramMenu = 0, Desktop = 1, Startup = 2 };

void UpdateShortcuts(ShortcutPlace place, bool remove);
