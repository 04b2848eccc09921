// Program entry: refuses old systems, applies the command-line gate, fills the start-up
// fields, has the settings loaded and runs exactly one mode.
#include "app/entry.h"

#include <shellapi.h>

#include "app/command_line.h"
#include "base/fixed_texts.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/path.h"
#include "res/resource.h"
#include "setup/install_state.h"
#include "setup/settings.h"
#include "uninstall/handoff.h"
#include "wizard/wizard.h"

namespace {

bool FileExists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Overwrites infPath from offset keep (its extension's dot) onward with suffix ("J.INF" and
// the like). The offset is taken once: after "J.INF" the last dot has moved, and the next
// candidate must replace "J.INF" itself, not be appended to the "J".
void ReplaceFromDot(size_t keep, const char* suffix)
{
    char candidate[kPathCapacity];
    CopyMemory(candidate, installState.infPath, keep);
    candidate[keep] = '\0';
    if (AppendText(candidate, suffix))
        CopyText(installState.infPath, candidate);
}

void OpenWithShell(const char* file)
{
    ShellExecuteA(nullptr, "open", file, nullptr, nullptr, SW_SHOWNORMAL);
}

int RunInstallMode()
{
    // Relative source names in the setup information file resolve against the installer's folder.
    SetCurrentDirectoryA(installState.sourceDir);
    RunInstallWizard();
    if (!installState.installDone) {
        ShowMessage(nullptr, IDS_INSTALL_INTERRUPTED, installState.title, MB_ICONINFORMATION);
        return kExitModeEnded;
    }
    // A partial installation stays registered, so that it can be uninstalled; it is not
    // called complete.
    if (installState.installIncomplete)
        ShowMessage(nullptr, IDS_INSTALL_INCOMPLETE, installState.title, MB_ICONWARNING);
    else
        ShowMessage(nullptr, IDS_INSTALL_COMPLETED, installState.title, MB_ICONINFORMATION);
    // The finish handler made installDir the current directory, so a relative name opens a
    // file of the installed application.
    if (installState.openAfterInstall[0] != '\0')
        OpenWithShell(installState.openAfterInstall);
    char launch[280] = {};
    if (CopyText(launch, installState.sourceDir) && AppendText(launch, "launch.exe"))
        OpenWithShell(launch);
    return kExitModeEnded;
}

}  // namespace


bool SetWorkingPath(const char* workingPath)
{
    if (!CopyText(installState.sourceDir, workingPath))
        return false;
    *FileNamePart(installState.sourceDir) = '\0';
    return CopyText(installState.exeName, FileNamePart(workingPath));
}

void LocateSetupInformation(const char* workingPath)
{
    if (!CopyText(installState.infPath, workingPath) || !ReplaceExtension(installState.infPath, "INF")) {
        installState.infPath[0] = '\0';
    } else if (!FileExists(installState.infPath) && ExtensionPart(installState.infPath) != nullptr) {
        size_t dot = ExtensionPart(installState.infPath) - installState.infPath;
        ReplaceFromDot(dot, LoadMessage(IDS_INF_SUFFIX));
        if (!FileExists(installState.infPath))
            ReplaceFromDot(dot, "E.INF");
    }
    CopyText(installState.infName, FileNamePart(installState.infPath));
}

int ProgramEntry(HINSTANCE instance, const char* commandLine)
{
    installState.instance = instance;
    if (LOBYTE(LOWORD(GetVersion())) < 4) {
        ShowMessage(nullptr, IDS_OLD_WINDOWS, nullptr, MB_ICONERROR);
        return kExitModeEnded;
    }
    CommandLine command = ParseCommandLine(commandLine);
    if (command.mode == RunMode::Nothing)
        return kExitNothingDone;

    DWORD length = GetModuleFileNameA(instance, installState.modulePath, sizeof installState.modulePath);
    if (length == 0 || length >= sizeof installState.modulePath)
        return kExitModeEnded;
    if (command.askFirst &&
        ShowJapaneseMessageBox(nullptr, kUninstallQuestionText, kUninstallQuestionCaption, 932, MB_OKCANCEL) != IDOK)
        return kExitNothingDone;

    // A working path too long to hold would be cut into the name of another file: refuse it.
    const char* workingPath = command.workingPath != nullptr ? command.workingPath : installState.modulePath;
    if (!SetWorkingPath(workingPath)) {
        ShowMessage(nullptr, IDS_NO_INFORMATION, nullptr, MB_ICONERROR);
        return kExitModeEnded;
    }
    LocateSetupInformation(workingPath);
    if (!LoadSetupInformation())
        return kExitModeEnded;

    switch (command.mode) {
    case RunMode::UninstallRequest:
        RequestUninstall();
        return kExitModeEnded;
    case RunMode::UninstallWorker:
        RunUninstallWorker();
        return kExitModeEnded;
    default:
        break;
    }
    return RunInstallMode();
}
