// Folders that an uninstall never empties or removes, whatever folder it was started from or
// climbs to: roots, the Windows and system folders, the user's shell folders, the user's profile
// and Downloads folders, and Program Files.
#pragma once

// True when folder (with or without a trailing separator) is one of them, compared as full
// paths without regard to case; also true when its full path cannot be formed.
bool IsProtectedFolder(const char* folder);
