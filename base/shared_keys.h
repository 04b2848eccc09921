// Registry keys that hold many programs' keys, which an uninstall never deletes, whatever a
// setup information file's "Reg" section names. Kept beside the protected folders, and in one
// place, so that every part that judges a "Reg" value uses the same list.
#pragma once

#include <windows.h>

// True when subKey below root is a shared key or lies above one (a root itself, a first-level
// key of HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE such as "Software",
// "Software\Microsoft\Windows\CurrentVersion\Uninstall", "CLSID" of HKEY_CLASSES_ROOT).
// Compared without regard to case, ignoring separators at either end and doubled ones. A key
// below a shared key ("Software\Vendor\Product", "...\App Paths\Product.exe", a class
// "Vendor.Document") is not shared.
bool IsSharedRegistryKey(HKEY root, const char* subKey);
