// End-to-end fixture of the copy-page and program-menu-page tests: a package of the test's own
// (the built setup.exe, a setup information file, files), shell folders pointed at test
// folders, and the steps of driving the wizard through its three pages.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "copy_test_helpers.h"
#include "base/registry_key.h"
#include "res/resource.h"
#include "support/end_to_end_test.h"
#include "support/test_support.h"
#include "support/window_driver.h"

constexpr int kNextButton = 0x3024;
constexpr const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr int kFinishButton = 0x3025;

class CopyEndToEnd : public EndToEndTest {
protected:
    // name: the test folder and the uninstall key; title: the application's "Title".
    CopyEndToEnd(const std::string& name, const std::string& title)
        : root(name.c_str()),
          key(name),
          title(title),
          uninstallEntry(name),
          startMenuGuard(HKEY_CURRENT_USER, kShellFoldersKey, "Start Menu"),
          programsGuard(HKEY_CURRENT_USER, kShellFoldersKey, "Programs"),
          startupGuard(HKEY_CURRENT_USER, kShellFoldersKey, "Startup"),
          desktopGuard(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop"),
          userStartMenuGuard(HKEY_CURRENT_USER, kUserShellFolders, "Start Menu"),
          userProgramsGuard(HKEY_CURRENT_USER, kUserShellFolders, "Programs"),
          userStartupGuard(HKEY_CURRENT_USER, kUserShellFolders, "Startup"),
          userDesktopGuard(HKEY_CURRENT_USER, kUserShellFolders, "Desktop")
    {
        pkg = root / "pkg\\";
        dest = root / "dest\\App\\";
        startMenu = root / "Start Menu";
        desktop = root / "Desktop";
        for (const std::string& folder : {startMenu + "\\Programs\\Accessories", startMenu + "\\Programs\\StartUp\\Inside",
                                          startMenu + "\\Games", desktop})
            MakeFolder(folder);
        // Wine rewrites a "Shell Folders" value from "User Shell Folders" whenever the shell
        // looks the folder up, so both point at the test's folders.
        for (const char* key : {kShellFoldersKey, kUserShellFolders}) {
            SetRegistryString(HKEY_CURRENT_USER, key, "Start Menu", startMenu);
            SetRegistryString(HKEY_CURRENT_USER, key, "Programs", startMenu + "\\Programs");
            SetRegistryString(HKEY_CURRENT_USER, key, "Startup", startMenu + "\\Programs\\StartUp");
            SetRegistryString(HKEY_CURRENT_USER, key, "Desktop", desktop);
        }
    }

    static void MakeFolder(const std::string& path)
    {
        WriteFileBytes(path + "\\probe", "");
        DeleteFileA((path + "\\probe").c_str());
    }

    // The package: the built program as SETUP.EXE and the setup information file.
    void WritePackage(const std::string& install, const std::string& group = "", const std::string& infName = "SETUP.INF")
    {
        CopyProgramTo(root, "pkg\\SETUP.EXE");
        std::string text = "[Install]\r\nTitle=" + title + "\r\nFolder=TinySetupTests\\" + key + "\r\nInstallKey=" + key +
                           "\r\n" + install;
        if (!group.empty())
            text += "[Group]\r\n" + group;
        ASSERT_TRUE(WriteFileBytes(pkg + infName, text));
    }

    // Starts the installer and gives the destination on the folder page; true on the
    // program-menu page, whose window is then menuPage.
    bool StartAndLeaveFolderPage()
    {
        if (!run.Start(pkg + "SETUP.EXE", "abc")) {
            ADD_FAILURE() << "the installer did not start";
            return false;
        }
        sheet = WaitForDialog(run.processId, 20000);
        HWND folderPage = sheet ? WaitForPageWith(sheet, IDC_DESTINATION) : nullptr;
        if (folderPage == nullptr || !WaitForWizardButton(sheet, kNextButton)) {
            ADD_FAILURE() << "no wizard on its folder page";
            return false;
        }
        if (!SetControlText(folderPage, IDC_DESTINATION, dest) || !PressWizardButton(sheet, PSBTN_NEXT)) {
            ADD_FAILURE() << "the destination could not be given";
            return false;
        }
        menuPage = WaitForPageWith(sheet, IDC_MENU_SHORTCUTS);
        if (menuPage == nullptr) {
            HWND page = CurrentPage(sheet);
            ADD_FAILURE() << "no program-menu page after the folder page; the current page shows "
                          << (GetDlgItem(page, IDC_DESTINATION) ? ControlText(page, IDC_DESTINATION) : "no destination")
                          << ", the sheet has " << (SendMessageA(sheet, PSM_INDEXTOHWND, 1, 0) ? "a" : "no") << " page 1";
        }
        return menuPage != nullptr;
    }

    // Next on the menu page; true on the copy page.
    bool LeaveMenuPage()
    {
        if (!WaitForWizardButton(sheet, kNextButton))
            return false;
        PressWizardButton(sheet, PSBTN_NEXT);
        copyPage = WaitForPageWith(sheet, IDC_STATUS);
        return copyPage != nullptr;
    }

    bool WaitForFinish() { return WaitForWizardButton(sheet, kFinishButton, 20000); }

    // Finish, then the closing message; returns it.
    MessageBoxInfo PressFinish()
    {
        PressWizardButton(sheet, PSBTN_FINISH);
        return AnswerMessageBox(run.processId, IDOK);
    }

    // Every .lnk file below folder (relative paths).
    static std::vector<std::string> LinksBelow(const std::string& folder)
    {
        std::vector<std::string> links;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return links;
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                for (const std::string& inner : LinksBelow(folder + "\\" + name))
                    links.push_back(name + "\\" + inner);
            } else if (name.size() > 4 && name.substr(name.size() - 4) == ".lnk") {
                links.push_back(name);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return links;
    }

    void TearDown() override
    {
        EndToEndTest::TearDown();
        run.Kill();
    }

    TempFolder root;
    std::string key, title;
    std::string pkg, dest, startMenu, desktop;
    UninstallEntryGuard uninstallEntry;
    ApplicationKeyGuard applicationKey;
    RegistryValueGuard startMenuGuard, programsGuard, startupGuard, desktopGuard;
    RegistryValueGuard userStartMenuGuard, userProgramsGuard, userStartupGuard, userDesktopGuard;
    ProgramRun run;
    HWND sheet = nullptr;
    HWND menuPage = nullptr;
    HWND copyPage = nullptr;
};
