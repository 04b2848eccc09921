// One package folder: the installer looks for the program's own name with ".INF", then with
// the user's language suffix, then with "E"; each of these files is some users' setup file.
#include "check/package.h"

#include <windows.h>

#include "app/entry.h"
#include "base/text.h"
#include "check/checks.h"
#include "check/report.h"
#include "setup/install_state.h"

namespace {

struct Candidate {
    const char* suffix;  // after the program's base name
    UINT codePage;
    bool asciiOnly;
    bool japaneseOnly;
    bool chineseOnly;
};

const Candidate kCandidates[] = {
    {".INF", 0, false, false, false},
    {"E.INF", 0, true, false, false},
    {"J.INF", 932, false, true, false},
    {"ZT.INF", 950, false, false, true},
};

// A blank in the program's own name. The installer quotes its own path wherever it writes one
// (the uninstall entry, its worker's command line), but the packager's command lines that start
// it must do so too: unquoted, "Kite Setup.exe" starts "Kite.exe" or nothing.
void CheckProgramName(const Package& package)
{
    for (const char* p = package.exeName; *p; p = CharNextA(p)) {
        if (*p == ' ') {
            Report(Severity::Warning, 1, "Install", "Title", "the program's name \"", package.exeName,
                   "\" holds a blank: a command line that starts it (an AUTORUN.INF \"open=\" line, a batch file) must put it in quotes");
            return;
        }
    }
}

void CheckSetupFile(CheckedFile& file, bool first)
{
    SetReportedFile(file.name);
    if (first)
        CheckProgramName(file.package);
    if (!file.text.Load(file.package.infPath)) {
        if (file.text.tooLarge)
            Report(Severity::Error, 1, "Install", "Title", "larger than ", NumberText(InfText::kLargestText >> 20),
                   " MB, more than a setup information file of 100,000 entries takes: the file is not checked");
        else
            Report(Severity::Error, 1, "Install", "Title", "the file cannot be read");
        return;
    }
    CheckCodePage(file);
    if (CheckSettings(file)) {
        CheckFileEntries(file);
        CheckShortcuts(file);
    }
    CheckRegistryEntries(file);
}

bool IsFile(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool CheckPackage(const char* folder, const char* programName)
{
    char workingPath[kPathCapacity];
    char baseName[kPathCapacity];
    if (!CopyText(baseName, programName))
        return false;
    char* extension = ExtensionPart(baseName);
    if (extension != nullptr)
        *extension = '\0';

    bool found = false;
    for (const Candidate& candidate : kCandidates) {
        ZeroMemory(&installState, sizeof installState);
        installState.instance = GetModuleHandleA(nullptr);
        CheckedFile file;
        Package& package = file.package;
        if (!CopyText(workingPath, folder) || !AppendText(workingPath, programName) ||
            !SetWorkingPath(package, workingPath) || !CopyText(package.infPath, folder) ||
            !AppendText(package.infPath, baseName) || !AppendText(package.infPath, candidate.suffix) ||
            !IsFile(package.infPath))
            continue;
        bool first = !found;
        found = true;
        CopyText(package.infName, FileNamePart(package.infPath));
        file.name = package.infName;
        file.codePage = candidate.codePage;
        file.asciiOnly = candidate.asciiOnly;
        file.japaneseOnly = candidate.japaneseOnly;
        file.chineseOnly = candidate.chineseOnly;
        CheckSetupFile(file, first);
    }
    return found;
}
