// Two-phase uninstall: the request process and the worker process with its dialog.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "shell/registration.h"

void RequestUninstall();
void RunUninstallWorker();
// Runs the removal in its dialog. When the removal stops at file entry 1, the saved entry (if
// any) is written back so that the user can uninstall again.
void RunUninstallDialog(const SavedUninstallEntry* savedEntry);
INT_PTR CALLBACK UninstallDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The name of the hand-off event, derived from the installed copy's path the same way in both
// processes. Object names may not contain "\", so a plain path cannot name an event.
// False (name empty) when the path does not fit in capacity.
bool MakeHandOffEventName(const char* installedPath, char* name, size_t capacity);
