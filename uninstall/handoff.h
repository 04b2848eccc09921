// Two-phase uninstall: the request process and the worker process with its dialog.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "shell/registration.h"

void RequestUninstall();
void RunUninstallWorker();

// The name of the hand-off event, derived from the installed copy's path the same way in both
// processes. Object names may not contain "\", so a plain path cannot name an event.
// False (name empty) when the path does not fit in capacity.
bool MakeHandOffEventName(const char* installedPath, char* name, size_t capacity);
