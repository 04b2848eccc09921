// Folders that an uninstall never empties or removes, whatever folder it was started from or
// climbs to: roots, the Windows and system folders, every folder the shell knows (the user's
// and the machine's), the user's profile, Program Files and Common Files in both views.
#pragma once

// True when folder (with or without a trailing separator) is one of them, compared as full
// paths without regard to case; also true when its full path cannot be formed.
bool IsProtectedFolder(const char* folder);

// True when path lies in the system folder or below it, in either view (System32, SysWOW64,
// Sysnative), whatever macro, "..", short name or drive letter led there: the files there are
// shared with other programs.
bool LiesInSystemFolder(const char* path);
