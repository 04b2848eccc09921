// Fixture of the acceptance suites: a package or an installation of the test's own in a
// temporary folder, the user's shell folders pointed into it, the registry keys an install
// writes removed afterwards, and the steps of driving the built program's windows.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "base/registry_key.h"
#include "e2e/language.h"
#include "res/resource.h"
#include "support/end_to_end_test.h"
#include "uninstall/pending_renames.h"

#if defined(TEST_LANGUAGE_JAPANESE)
constexpr const char kLanguageTag[] = "ja";
#elif defined(TEST_LANGUAGE_CHINESE)
constexpr const char kLanguageTag[] = "zh";
#else
constexpr const char kLanguageTag[] = "en";
#endif

// Parameterised tests whose suite names carry the language (the argument is expanded first).
#define LANGUAGE_TEST_P(suite, name) TEST_P(suite, name)
#define LANGUAGE_INSTANTIATE(prefix, suite, ...) INSTANTIATE_TEST_SUITE_P(prefix, suite, __VA_ARGS__)

constexpr int kWizardNext = 0x3024;
constexpr int kWizardFinish = 0x3025;
constexpr const char kUserShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char kApplicationKeyPath[] = "Software\\Tamberlyn\\tq";


// A message box of the process other than the given dialog. The uninstall dialog's icon is a
// static without id, like a message box's text, so it is told apart by its handle.
inline HWND WaitForBoxBesides(DWORD processId, HWND dialog, DWORD deadlineMs = kDefaultDeadlineMs)
{
    HWND box = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : DialogsOf(processId)) {
                if (window != dialog && GetDlgItem(window, 0xFFFF) != nullptr)
                    box = window;
            }
            return box != nullptr;
        },
        deadlineMs);
    return box;
}

// Reads the box, presses the button and waits for it to go.
inline MessageBoxInfo AnswerBox(HWND box, int button)
{
    MessageBoxInfo info = ReadMessageBox(box);
    PressButton(box, button);
    WaitGone(box);
    return info;
}

class AcceptancePackage : public EndToEndTest {
public:
    // name: the test folder, the uninstall key and the base of the title.
    explicit AcceptancePackage(const std::string& name)
        : root(name.c_str()),
          key("TinySetupAcc_" + name),
          execPathGuard(HKEY_CURRENT_USER, kApplicationKeyPath, "ExecPath"),
          firstGuard(HKEY_CURRENT_USER, kApplicationKeyPath, "first"),
          tamberlynExisted(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Tamberlyn"))
    {
        pkg = root / "pkg\\";
        dest = root / "dest\\App\\";
        user = root / "user\\";
        for (const char* folder : {"Start Menu\\Programs\\Startup", "Desktop", "Documents"})
            MakeFolder(user + folder);
        const char* names[] = {"Start Menu", "Programs", "Startup", "Desktop", "Personal"};
        const std::string values[] = {user + "Start Menu", user + "Start Menu\\Programs",
                                      user + "Start Menu\\Programs\\Startup", user + "Desktop", user + "Documents"};
        // Wine rewrites a "Shell Folders" value from "User Shell Folders" whenever the shell
        // looks the folder up, so both point into the test's folder.
        for (const char* shellKey : {kShellFoldersKey, kUserShellFoldersKey}) {
            for (int i = 0; i < 5; ++i) {
                shellGuards.emplace_back(new RegistryValueGuard(HKEY_CURRENT_USER, shellKey, names[i]));
                SetRegistryString(HKEY_CURRENT_USER, shellKey, names[i], values[i]);
            }
        }
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, EntryKey().c_str());
    }

    ~AcceptancePackage() override
    {
        KillStartedProcesses();
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, EntryKey().c_str());
        if (!tamberlynExisted)
            DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Tamberlyn");
        for (RegistryValueGuard* guard : shellGuards)
            delete guard;
    }

    std::string EntryKey() const { return std::string(kUninstallKey) + "\\" + key; }

    static void MakeFolder(const std::string& path)
    {
        WriteFileBytes(path + "\\probe.tmp", "");
        DeleteFileA((path + "\\probe.tmp").c_str());
    }

    // The package: the built program and its setup information file.
    void WritePackage(const std::string& infText, const std::string& exeName = "SETUP.EXE",
                      const std::string& infName = "SETUP.INF")
    {
        CopyProgramTo(root, "pkg\\" + exeName);
        ASSERT_TRUE(WriteFileBytes(pkg + infName, infText));
    }

    // Starts the installer of the package; true when the wizard shows its folder page.
    bool StartInstaller(const std::string& exeName = "SETUP.EXE")
    {
        if (!run.Start(pkg + exeName, "abc")) {
            ADD_FAILURE() << "the installer did not start";
            return false;
        }
        sheet = WaitForDialog(run.processId, 20000);
        folderPage = sheet ? WaitForPageWith(sheet, IDC_DESTINATION) : nullptr;
        if (folderPage == nullptr || !WaitForWizardButton(sheet, kWizardNext)) {
            ADD_FAILURE() << "no wizard on its folder page";
            return false;
        }
        return true;
    }

    // Types the destination and presses Next.
    void TryDestination(const std::string& folder)
    {
        EXPECT_TRUE(SetControlText(folderPage, IDC_DESTINATION, folder));
        EXPECT_TRUE(WaitForWizardButton(sheet, kWizardNext));
        PressWizardButton(sheet, PSBTN_NEXT);
    }

    // Destination, then the program-menu page as it comes, up to the copy page.
    bool LeaveFolderAndMenuPages(bool residentProgram = false)
    {
        TryDestination(dest);
        if (!residentProgram) {
            menuPage = WaitForPageWith(sheet, IDC_MENU_SHORTCUTS);
            if (menuPage == nullptr) {
                ADD_FAILURE() << "no program-menu page";
                return false;
            }
            if (!WaitForWizardButton(sheet, kWizardNext))
                return false;
            PressWizardButton(sheet, PSBTN_NEXT);
        }
        copyPage = WaitForPageWith(sheet, IDC_STATUS, 20000);
        if (copyPage == nullptr)
            ADD_FAILURE() << "no copy page";
        return copyPage != nullptr;
    }

    // Lays out an installed application in dest: the built program under exeName, the setup
    // information file, a file per entry, and the uninstall entry as the install writes it
    // (the file's Title, the installed copy's command), without which nothing is removed.
    void LayOutInstallation(const std::string& infText, const std::vector<std::string>& files,
                            const std::string& exeName = "SETUP.EXE")
    {
        ASSERT_TRUE(CopyProgram(dest + exeName));
        std::string infName = exeName.substr(0, exeName.rfind('.')) + ".INF";
        ASSERT_TRUE(WriteFileBytes(dest + infName, infText));
        for (const std::string& file : files)
            ASSERT_TRUE(WriteFileBytes(dest + file, file));
        size_t title = infText.find("Title=");
        ASSERT_NE(std::string::npos, title) << "the setup information file names a title";
        title += 6;
        ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, EntryKey().c_str(), "DisplayName",
                                      infText.substr(title, infText.find("\r\n", title) - title)));
        ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, EntryKey().c_str(), "UninstallString",
                                      "\"" + dest + exeName + "\" /r"));
    }

    // Starts a worker copy of the program by hand on the installed copy; returns its dialog.
    HWND StartWorker(const std::string& exeName = "SETUP.EXE")
    {
        std::string worker = root / ("worker\\" + exeName);
        EXPECT_TRUE(CopyProgram(worker));
        if (!run.Start(worker, "x " + dest + exeName))
            return nullptr;
        return WaitForDialogWithControl(run.processId, IDC_UNINSTALL_STATUS);
    }

    TempFolder root;
    std::string key;
    std::string pkg, dest, user;
    RegistryValueGuard execPathGuard, firstGuard;
    bool tamberlynExisted;
    std::vector<RegistryValueGuard*> shellGuards;
    PendingRenamesGuard pendingRenames;
    ProgramRun run;
    HWND sheet = nullptr, folderPage = nullptr, menuPage = nullptr, copyPage = nullptr;
};
