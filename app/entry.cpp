// Program entry: reads the command line, refuses old systems, fills the start-up fields, has
// the settings loaded and runs exactly one mode, with the windows or unattended, writing the
// log's first and last lines when there is one.
#include "app/entry.h"

#include <shellapi.h>

#include "app/command_line.h"
#include "app/unattended.h"
#include "base/fixed_texts.h"
#include "base/log.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/path.h"
#include "base/text.h"
#include "res/version.h"
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
void ReplaceFromDot(char (&infPath)[kPathCapacity], size_t keep, const char* suffix)
{
    char candidate[kPathCapacity];
    CopyMemory(candidate, infPath, keep);
    candidate[keep] = '\0';
    if (AppendText(candidate, suffix))
        CopyText(infPath, candidate);
}

void OpenWithShell(const char* file)
{
    ShellExecuteA(nullptr, "open", file, nullptr, nullptr, SW_SHOWNORMAL);
}

int RunInstallMode(const Package& package)
{
    // Relative source names in the setup information file resolve against the installer's folder.
    SetCurrentDirectoryA(package.sourceDir);
    RunInstallWizard(package, nullptr, false);
    if (!installState.installDone) {
        ShowMessage(nullptr, IDS_INSTALL_INTERRUPTED, package.title, MB_ICONINFORMATION);
        return kExitModeEnded;
    }
    // A partial installation stays registered, so that it can be uninstalled; it is not
    // called complete.
    if (installState.installIncomplete)
        ShowMessage(nullptr, IDS_INSTALL_INCOMPLETE, package.title, MB_ICONWARNING);
    else
        ShowMessage(nullptr, IDS_INSTALL_COMPLETED, package.title, MB_ICONINFORMATION);
    // The finish handler made installDir the current directory, so a relative name opens a
    // file of the installed application.
    if (installState.openAfterInstall[0] != '\0')
        OpenWithShell(installState.openAfterInstall);
    char launch[280] = {};
    if (CopyText(launch, package.sourceDir) && AppendText(launch, "launch.exe"))
        OpenWithShell(launch);
    return kExitModeEnded;
}

// The first lines of the log: what ran, on what, in which language.
void LogStart(const char* commandLine)
{
    LogLine("Pondway Setup " FILE_VERSION_TEXT);
    LogLine(commandLine);
}

void LogPackage(const Package& package)
{
    char line[kPathCapacity + 32];
    if (CopyText(line, "setup file: ") && AppendText(line, package.infPath))
        LogLine(line);
    if (CopyText(line, "language: ") && AppendText(line, NumberText(GetUserDefaultLangID())) &&
        AppendText(line, ", code page ") && AppendText(line, NumberText(GetACP())))
        LogLine(line);
}

int LogEnd(int exitCode)
{
    char line[32] = "exit code ";
    AppendText(line, NumberText(static_cast<unsigned>(exitCode)));
    LogLine(line);
    CloseLog();
    return exitCode;
}

void ShowSwitches()
{
    char caption[kPathCapacity] = "";
    DWORD length = GetModuleFileNameA(installState.instance, caption, sizeof caption);
    if (length == 0 || length >= sizeof caption)
        caption[0] = '\0';
    ShowMessageBox(nullptr, LoadMessage(IDS_SWITCHES), FileNamePart(caption), MB_ICONINFORMATION);
}

// The mode the command line chose, once the package is loaded.
int RunChosenMode(const Package& package, const CommandLine& command, EngineReport& report, UnattendedReport& unattended)
{
    bool person = command.attendance == Attendance::Person;
    if (command.mode == RunMode::UninstallRequest) {
        char switches[kPathCapacity + 32];
        if (person) {
            RequestUninstall(package, report, nullptr);
            return kExitModeEnded;
        }
        if (!WorkerSwitches(command, switches, sizeof switches))
            return kExitFailed;
        return RequestUninstall(package, report, switches);
    }
    if (command.mode == RunMode::UninstallWorker) {
        int exitCode = RunUninstallWorker(package, report, person                                        ? WorkerWindow::Dialog
                                                  : command.attendance == Attendance::Passive ? WorkerWindow::ClosingByItself
                                                                                              : WorkerWindow::None);
        return unattended.Failed() ? kExitFailed : exitCode;
    }
    return person ? RunInstallMode(package) : RunUnattendedInstall(package, command, unattended);
}

}  // namespace


bool SetWorkingPath(Package& package, const char* workingPath)
{
    if (!CopyText(package.sourceDir, workingPath))
        return false;
    *FileNamePart(package.sourceDir) = '\0';
    return CopyText(package.exeName, FileNamePart(workingPath));
}

void LocateSetupInformation(Package& package, const char* workingPath)
{
    if (!CopyText(package.infPath, workingPath) || !ReplaceExtension(package.infPath, "INF")) {
        package.infPath[0] = '\0';
    } else if (!FileExists(package.infPath) && ExtensionPart(package.infPath) != nullptr) {
        size_t dot = ExtensionPart(package.infPath) - package.infPath;
        ReplaceFromDot(package.infPath, dot, LoadMessage(IDS_INF_SUFFIX));
        if (!FileExists(package.infPath))
            ReplaceFromDot(package.infPath, dot, "E.INF");
    }
    CopyText(package.infName, FileNamePart(package.infPath));
}

int ProgramEntry(HINSTANCE instance, const char* commandLine)
{
    installState.instance = instance;
    CommandLine command = ParseCommandLine(commandLine);
    bool person = command.attendance == Attendance::Person;
    // The worker of an unattended uninstall adds its lines to the request's log.
    if (command.logFile[0] != '\0' && OpenLog(command.logFile, command.mode == RunMode::UninstallWorker))
        LogStart(GetCommandLineA());

    if (LOBYTE(LOWORD(GetVersion())) < 4) {
        if (person)
            ShowMessage(nullptr, IDS_OLD_WINDOWS, nullptr, MB_ICONERROR);
        return LogEnd(person ? kExitModeEnded : kExitFailed);
    }
    if (command.mode == RunMode::NotUnderstood) {
        char line[kSwitchTextCapacity + 32];
        if (CopyText(line, "not understood: ") && AppendText(line, command.notUnderstood))
            LogLine(line);
        return LogEnd(kExitBadCommandLine);
    }
    if (command.mode == RunMode::Help) {
        ShowSwitches();
        return LogEnd(kExitNothingDone);
    }
    if (command.mode == RunMode::Nothing)
        return LogEnd(kExitNothingDone);

    DWORD length = GetModuleFileNameA(instance, installState.modulePath, sizeof installState.modulePath);
    if (length == 0 || length >= sizeof installState.modulePath)
        return LogEnd(person ? kExitModeEnded : kExitFailed);
    if (person && command.askFirst &&
        ShowJapaneseMessageBox(nullptr, kUninstallQuestionText, kUninstallQuestionCaption, 932, MB_OKCANCEL) != IDOK)
        return LogEnd(kExitNothingDone);

    BoxReport boxes(nullptr);
    UnattendedReport unattended;
    EngineReport& report = person ? static_cast<EngineReport&>(boxes) : unattended;

    // A working path too long to hold would be cut into the name of another file: refuse it.
    const char* workingPath = command.workingPath != nullptr ? command.workingPath : installState.modulePath;
    Package package = {};
    if (!SetWorkingPath(package, workingPath)) {
        report.Failure(LoadMessage(IDS_NO_INFORMATION));
        return LogEnd(person ? kExitModeEnded : kExitFailed);
    }
    LocateSetupInformation(package, workingPath);
    LogPackage(package);
    if (!LoadSetupInformation(package, report))
        return LogEnd(person ? kExitModeEnded : kExitFailed);
    return LogEnd(RunChosenMode(package, command, report, unattended));
}
