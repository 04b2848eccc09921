// The install record: what each installation of a package made that its uninstall removes (the
// files of its entries, its shortcuts, the registry keys its setup file names), as lines of
// text beside the installed setup file. Every install adds its lines as it goes, after those of
// the installs before it, so that an uninstall also removes what an earlier version made and the
// current setup file no longer names, and an install that stopped half way can still be removed.
#pragma once

#include <windows.h>

#include "base/path.h"
#include "setup/package.h"

// CreatedKey: a file extension or class the setup file names that was absent at the install.
enum class RecordKind : char { File = 'F', Shortcut = 'L', Key = 'K', CreatedKey = 'C' };

// The record of the installation in installState.installDir: the installed program's path with
// the extension "REC". False when it does not fit.
bool InstallRecordPath(const Package& package, char (&path)[kPathCapacity]);

// Opens the record at path for this install's lines, after those already there. Until it is
// closed, RecordMade adds a line; without an open record it does nothing.
bool OpenInstallRecord(const char* path);
void CloseInstallRecord();
void RecordMade(RecordKind kind, const char* path);

// True when the record at path has a line of kind for text (compared without regard to case).
bool RecordLists(const char* path, RecordKind kind, const char* text);

// Calls visit(kind, path, context) for each line of the record at path, in order; lines that
// are not a kind and a path that fits are passed over. False when there is no record to read.
bool ReadInstallRecord(const char* path, void (*visit)(RecordKind kind, const char* path, void* context),
                       void* context);
