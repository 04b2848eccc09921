// The unattended install: the destination and shortcut choices from the command line instead of
// the wizard's pages, the same checks of the destination, and the engine's steps run in a loop
// (quiet) or on the copy page alone (passive).
#include "app/unattended.h"

#include "base/log.h"
#include "base/messages.h"
#include "base/path.h"
#include "base/registry_key.h"
#include "base/text.h"
#include "res/resource.h"
#include "setup/entry_reader.h"
#include "setup/install_plan.h"
#include "setup/install_state.h"
#include "wizard/folder_page.h"
#include "wizard/install_steps.h"
#include "wizard/wizard.h"

namespace {

// A newer file is kept; a folder that holds files is accepted (the uninstall then removes only
// what the package lists); the uninstall goes ahead.
bool FixedAnswer(Question kind)
{
    return kind != Question::ReplaceNewerFile;
}

// The destination from "/dir=": a full path, ending with a separator.
bool TakeFolder(const char* folder)
{
    char full[kPathCapacity];
    DWORD length = GetFullPathNameA(folder, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full || !CopyText(installState.installDir, full))
        return false;
    ReplaceChar(installState.installDir, '/', '\\');
    return AppendPathPart(installState.installDir, "");
}

// The program-menu folder from "/menu=", below the Start Menu folder as the page takes it.
bool TakeMenu(const char* menu)
{
    char folder[kPathCapacity];
    return ReadShellFolder("Start Menu", folder) && AppendPathPart(folder, menu) && CopyText(installState.menuDir, folder);
}

int Refused(const char* what, const char* path)
{
    LogAction(LogFailure, path);
    LogLine(what);
    return kExitFailed;
}

}  // namespace

bool UnattendedReport::Ask(Question kind, const char* text, const char*)
{
    bool answer = FixedAnswer(kind);
    LogAction(LogAnswer, answer ? "yes" : "no");
    LogLine(text);
    return answer;
}

void UnattendedReport::Failure(const char* text, const char*)
{
    failed_ = true;
    LogLine(text);
}

int RunUnattendedInstall(const Package& package, const CommandLine& command, UnattendedReport& report)
{
    if (command.folder[0] != '\0' && !TakeFolder(command.folder))
        return Refused(LoadMessage(IDS_DESTINATION_TOO_LONG), command.folder);
    if (command.menu[0] != '\0' && !TakeMenu(command.menu))
        return Refused("the program-menu folder cannot be used", command.menu);
    installState.wantMenuShortcuts = !command.noMenu;
    installState.wantDesktopShortcut = command.desktop;
    installState.reducedInstall = false;

    DestinationVerdict verdict = CheckDestination(package, report);
    if (verdict == DestinationVerdict::LowDiskSpace)
        return Refused("not enough free space", installState.installDir);
    if (verdict != DestinationVerdict::Accepted)
        return kExitFailed;

    // Relative source names in the setup information file resolve against the installer's folder.
    SetCurrentDirectoryA(package.sourceDir);
    if (command.attendance == Attendance::Passive) {
        bool cancelled = RunInstallWizard(package, &report, true);
        // A progress that could not be shown at all (no common controls) failed; one that
        // stopped early was cancelled.
        if (report.Failed() && !installState.installDone)
            return kExitFailed;
        if (cancelled || !installState.installDone)
            return kExitCancelled;
    } else {
        int steps = InstallStepCount(package.fileCount);
        EntryReadingPass pass;
        for (int step = 0; step < steps; ++step)
            RunInstallStep(package, step, report);
    }
    return installState.installIncomplete || report.Failed() ? kExitFailed : kExitComplete;
}

bool WorkerSwitches(const CommandLine& command, char* out, size_t capacity)
{
    if (!CopyText(out, capacity, command.attendance == Attendance::Quiet ? "/quiet" : "/passive"))
        return false;
    if (command.logFile[0] == '\0')
        return true;
    char full[kPathCapacity];
    DWORD length = GetFullPathNameA(command.logFile, sizeof full, full, nullptr);
    return length != 0 && length < sizeof full && AppendText(out, capacity, " /log=\"") &&
           AppendText(out, capacity, full) && AppendText(out, capacity, "\"");
}
