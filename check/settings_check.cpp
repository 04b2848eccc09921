// The [Install] values that make a file usable at all (Title, Folder, the uninstall entry's
// name), the uninstall entry's optional texts, and the uninstall's reach over the destination
// folder.
#include "check/checks.h"

#include "base/messages.h"
#include "base/protected_folders.h"
#include "base/text.h"
#include "check/report.h"
#include "res/resource.h"
#include "setup/entries.h"
#include "setup/install_state.h"
#include "setup/settings.h"

namespace {

// Room for a value one byte longer than the installer reads, so that a cut shows.
constexpr size_t kValueCapacity = 1024;

// The text of the loader's refusal (it gives at most one before it gives up).
class RefusalRecord : public EngineReport {
public:
    void Step(int, int) override {}
    void ShareOfStep(int) override {}
    bool Ask(Question, const char*, const char*) override { return false; }
    void Failure(const char* text, const char* = nullptr) override
    {
        if (text_[0] == '\0')
            CopyText(text_, text);
    }
    const char* Text() const { return text_; }

private:
    char text_[kMessageCapacity] = "";
};

DWORD ReadValue(const CheckedFile& file, const char* key, char (&value)[kValueCapacity])
{
    return GetPrivateProfileStringA(kInstallSection, key, "", value, sizeof value, file.package.infPath);
}

void ReportAt(Severity severity, const CheckedFile& file, const char* key, const char* text,
              const char* text2 = "", const char* text3 = "")
{
    Report(severity, LineOf(file.text, kInstallSection, key), kInstallSection, key, text, text2, text3);
}

// Why the loader refused a file whose Title and Folder are present.
void ReportRefusal(const CheckedFile& file)
{
    char menu[kValueCapacity];
    if (file.package.installKey[0] == '\0')
        ReportAt(Severity::Error, file, "Folder", "names no folder and there is no InstallKey: no name to register the uninstall entry under");
    else if (!ComputeDefaultInstallDir(file.folder))
        ReportAt(Severity::Error, file, "Folder", "the default destination is longer than 259 characters: the installer refuses the file");
    else if (ReadValue(file, "Menu", menu) > 0)
        ReportAt(Severity::Error, file, "Menu", "the program-menu folder is longer than 259 characters: the installer refuses the file");
    else
        ReportAt(Severity::Error, file, "InstallKey", "the uninstall entry's key name is too long: the installer refuses the file");
}

// The folder above the default destination, when it is one that an uninstall never clears
// (Program Files, a drive's root, the Windows folder, the user's folders).
bool SharedParent(char (&parent)[kPathCapacity])
{
    if (!CopyText(parent, installState.installDir) || !NormalizeFolderPath(parent))
        return false;
    char* last = FindLastSeparator(parent);
    if (last == nullptr)
        return false;
    last[FindRootEnd(parent) == last ? 1 : 0] = '\0';
    return IsProtectedFolder(parent);
}

}  // namespace

bool CheckSettings(CheckedFile& file)
{
    char title[kValueCapacity];
    char value[kValueCapacity];
    bool usable = true;
    if (ReadValue(file, "Title", title) == 0) {
        ReportAt(Severity::Error, file, "Title", "missing: the installer refuses the file (\"Damaged file, or NO Information file.\")");
        usable = false;
    } else if (lstrlenA(title) >= static_cast<int>(kTitleCapacity)) {
        ReportAt(Severity::Error, file, "Title", "longer than 99 bytes: the installer cuts it");
    }
    if (ReadValue(file, "Folder", value) == 0) {
        ReportAt(Severity::Error, file, "Folder", "missing: the installer refuses the file (\"Damaged file, or NO Information file.\")");
        usable = false;
    } else if (!CopyText(file.folder, value)) {
        ReportAt(Severity::Error, file, "Folder", "longer than 259 characters: the installer cuts it");
    }
    if (!usable)
        return false;

    RefusalRecord refusal;
    bool loaded = LoadSetupInformation(file.package, refusal);
    if (!loaded && lstrcmpA(refusal.Text(), LoadMessage(IDS_NO_INFORMATION)) == 0) {
        ReportRefusal(file);
        return false;
    }
    // A refusal for an uninstall entry of another application is this machine's state, not the
    // package's; and a previous installation here lends its folder: judge the default one.
    if (!ComputeDefaultInstallDir(file.folder)) {
        ReportRefusal(file);
        return false;
    }

    if (ReadValue(file, "InstallKey", value) > 0 && lstrcmpA(value, file.package.installKey) != 0)
        ReportAt(Severity::Error, file, "InstallKey", "holds a separator: the uninstall entry is registered as \"",
                 file.package.installKey, "\"");

    // Texts only the system's list of programs shows: one that does not fit is left out.
    if (ReadValue(file, kVersionKey, value) + 1 >= kVersionCapacity)
        ReportAt(Severity::Warning, file, kVersionKey, "longer than 63 bytes: the uninstall entry shows no version");
    if (ReadValue(file, kPublisherKey, value) + 1 >= kPublisherCapacity)
        ReportAt(Severity::Warning, file, kPublisherKey, "longer than 99 bytes: the uninstall entry shows no publisher");

    char parent[kPathCapacity];
    if (ReadValue(file, "RemoveNone", value) == 0 && SharedParent(parent))
        Report(Severity::Warning, LineOf(file.text, kInstallSection, "Folder"), kInstallSection, "RemoveNone",
               "absent, and the destination is a single level below ", parent,
               ": the uninstall deletes every file in the destination folder, the user's own as well");
    return true;
}
