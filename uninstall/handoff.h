// Two-phase uninstall: the request process and the worker process with its dialog.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "setup/engine_report.h"
#include "setup/package.h"
#include "shell/registration.h"

// The request: asks report whether to uninstall, copies the worker and starts it. With
// workerSwitches (the unattended switches handed on) it waits until the worker has ended and
// returns its exit code; without, it returns once the registration is gone (kExitModeEnded).
int RequestUninstall(const Package& package, EngineReport& report, const char* workerSwitches);

enum class WorkerWindow {
    Dialog,           // the uninstall dialog, closed by the person
    ClosingByItself,  // the same dialog, closing when the removal ends
    None,             // no window
};
// The worker: removes the installation, reporting to report. Returns kExitModeEnded with the
// dialog, otherwise kExitComplete: what failed, report has been told.
int RunUninstallWorker(const Package& package, EngineReport& report, WorkerWindow window);

// The name of the hand-off event, derived from the installed copy's path the same way in both
// processes. Object names may not contain "\", so a plain path cannot name an event.
// False (name empty) when the path does not fit in capacity.
bool MakeHandOffEventName(const char* installedPath, char* name, size_t capacity);
