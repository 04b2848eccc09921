// Demo driver: installs the package named on the command line through the wizard as a user
// would, answers the closing message, uninstalls it again with "/r" and the uninstall dialog,
// and saves a picture of every page, message box and dialog into the folder named second.
// Prints each step as it goes; exit code 0 when the whole cycle went through.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "lifecycle_driver.h"
#include "support/test_support.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Moves each screenshot from the test screenshots folder into the demo's folder.
class Pictures {
public:
    explicit Pictures(const std::string& folder) : folder_(folder) { CreateDirectoryA(folder.c_str(), nullptr); }

    void Take(const std::string& name)
    {
        std::string target = folder_ + "\\" + name + ".bmp";
        if (SaveScreenshot("demo-" + name) &&
            MoveFileExA(ScreenshotPath("demo-" + name).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
            printf("    picture %s\n", name.c_str());
            ++taken;
        } else {
            printf("    (no picture %s)\n", name.c_str());
        }
        fflush(stdout);
    }

    int taken = 0;

private:
    std::string folder_;
};

void Say(const char* label, const std::string& text)
{
    std::string shown = text;
    for (char& c : shown) {
        if (c == '\n')
            c = ' ';
    }
    printf("  %-22s %s\n", label, shown.c_str());
    fflush(stdout);
}

// The installed program from the uninstall entry of the package's "InstallKey".
std::string InstalledProgram(const std::string& setupInf)
{
    char key[MAX_PATH] = "";
    GetPrivateProfileStringA("Install", "InstallKey", "", key, sizeof key, setupInf.c_str());
    std::string command =
        ReadRegistryValue(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + key).c_str(), "UninstallString").text();
    return ProgramOfCommand(command);
}

// The shell opens the package's "Open" file (README.TXT) after the install: pictured, then
// closed, so that the uninstall finds no file in use.
void ShowAndCloseReadme(DWORD installer, const std::vector<DWORD>& notepadsBefore, Pictures* pictures)
{
    HWND window = nullptr;
    DWORD notepad = WaitForNewProcessWindow("notepad.exe", notepadsBefore, "README", &window, 5000);
    if (notepad != 0) {
        Sleep(400);
        pictures->Take("5-readme");
        Say("opened afterwards:", WindowTitle(window));
        EndProcessTree(notepad);
    }
    for (DWORD id : ProcessesStartedBy(installer))
        EndProcessTree(id);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        printf("usage: demo_driver <package>\\SETUP.EXE <picture folder>\n");
        return 2;
    }
    // The texts read from the windows are UTF-8; a console shows them as such.
    SetConsoleOutputCP(CP_UTF8);
    std::string setupExe = argv[1];
    Pictures pictures(argv[2]);
    ShotFunction shot = [&](const std::string& name) { pictures.Take(name); };
    std::string setupInf = setupExe.substr(0, setupExe.size() - 3) + "INF";

    printf("Installing from %s\n", setupExe.c_str());
    fflush(stdout);
    ProgramRun install;
    std::vector<DWORD> notepads = ProcessesNamed("notepad.exe");
    WizardRun installed = InstallThroughWizard(install, setupExe, shot);
    Say("wizard:", installed.caption);
    Say("destination folder:", installed.folderShown);
    Say("program-menu folder:", installed.menuShown);
    Say("copy page:", installed.statusShown);
    Say("uninstall hint:", installed.hintShown);
    for (const std::string& box : installed.unexpectedBoxes)
        Say("message on the way:", box);
    Say("closing message:", installed.completion.text);
    if (installed.failure.empty())
        ShowAndCloseReadme(install.processId, notepads, &pictures);
    if (!installed.failure.empty()) {
        printf("The install stopped: %s\n", installed.failure.c_str());
        return 1;
    }

    std::string program = InstalledProgram(setupInf);
    if (program.empty()) {
        printf("No uninstall entry was registered.\n");
        return 1;
    }
    printf("Uninstalling with \"%s\" /r\n", program.c_str());
    fflush(stdout);
    ProgramRun request;
    UninstallRun uninstalled = UninstallWithR(request, program, shot);
    Say("first question:", uninstalled.question.text);
    Say("confirmation:", uninstalled.confirmation.text);
    Say("uninstall dialog:", uninstalled.dialogCaption);
    Say("worker program:", uninstalled.workerImage);
    for (const std::string& box : uninstalled.unexpectedBoxes)
        Say("message on the way:", box);
    Say("final status:", uninstalled.statusShown);
    if (!uninstalled.failure.empty()) {
        printf("The uninstall stopped: %s\n", uninstalled.failure.c_str());
        return 1;
    }
    bool gone = GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES;
    printf("The installed program is %s; %d pictures taken.\n", gone ? "gone" : "STILL THERE", pictures.taken);
    return gone ? 0 : 1;
}
