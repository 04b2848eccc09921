// Registry keys that hold many programs' keys, which an uninstall never deletes, whatever a
// setup information file's "Reg" section names. Kept beside the protected folders, and in one
// place, so that every part that judges a "Reg" value uses the same list.
#pragma once

#include <windows.h>

// How the uninstall may treat a key: Shared ones never go; a ClassName (a file extension such
// as ".pzl" or a class such as "Vendor.Document", directly below HKEY_CLASSES_ROOT or a
// "Software\Classes" key) goes only when the install found it absent, so made it the program's;
// the rest (a program's Own keys) go.
enum class KeyShare { Own, ClassName, Shared };
KeyShare JudgeRegistryKey(HKEY root, const char* subKey);

// True when subKey below root is a shared key or lies above one (a root itself, a first-level
// key of HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE such as "Software",
// "Software\Microsoft\Windows\CurrentVersion\Uninstall", "CLSID" of HKEY_CLASSES_ROOT).
// Compared without regard to case, ignoring separators at either end and doubled ones. A key
// below a shared key ("Software\Vendor\Product", "...\App Paths\Product.exe", a class
// "Vendor.Document") is not shared.
bool IsSharedRegistryKey(HKEY root, const char* subKey);
