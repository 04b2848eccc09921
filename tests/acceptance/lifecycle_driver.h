// Drives a whole install and uninstall of a package like a user: the wizard's three pages, the
// closing message, the "/r" questions and the worker's uninstall dialog. Shared by the life-cycle tests, which check what each step showed, and the
// demo, which photographs every step. Nothing here decides pass or fail; each step reports what
// it saw and, when it could not go on, why.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/window_driver.h"

// Called with a short name at each moment worth a picture (an empty function: no pictures).
using ShotFunction = std::function<void(const std::string& name)>;

struct WizardRun {
    std::string failure;  // empty when the wizard was driven to its end
    std::string caption;
    std::string folderShown;   // the folder page's destination
    std::string menuShown;     // the program-menu page's folder text
    bool menuBoxChecked = false;
    bool desktopBoxChecked = false;  // before the driver ticks it
    std::string statusShown;   // the copy page's status when Finish came up
    std::string hintShown;     // the copy page's uninstall hint
    std::vector<std::string> unexpectedBoxes;  // message boxes on the way, answered Yes or OK
    MessageBoxInfo completion;
    int exitCode = -1;
};

// Starts setupExe with "/go" and installs: the folder page as shown, the program-menu page with
// the desktop box ticked, the copy page to its Finish, and the completion message answered.
// The steps' pictures are named prefix + "1-folder-page" and so on. A destination given is
// typed over the folder page's.
WizardRun InstallThroughWizard(ProgramRun& run, const std::string& setupExe, const ShotFunction& shot,
                               const std::string& prefix = "", const std::string& destination = "");

struct UninstallRun {
    std::string failure;
    MessageBoxInfo question;      // the fixed first question
    MessageBoxInfo confirmation;  // the application's confirmation
    int requestExit = -1;
    DWORD workerId = 0;
    std::string workerImage;      // the program file the worker runs
    std::string dialogCaption;
    std::string runningStatus;    // the dialog's status before the removal ended (may be missed)
    std::string statusShown;      // the dialog's status when Finish came up
    std::vector<std::string> unexpectedBoxes;  // message boxes over the dialog, answered OK
    int workerExit = -1;
};

// Starts installedExe with "/r", answers both questions with OK, waits for the worker's dialog
// to offer Finish and presses it.
UninstallRun UninstallWithR(ProgramRun& request, const std::string& installedExe, const ShotFunction& shot,
                            const std::string& prefix = "");

// Processes running a program of that file name (such as "notepad.exe"), by id.
std::vector<DWORD> ProcessesNamed(const char* exeName);
// Processes that the process started (it may have ended since), by id.
std::vector<DWORD> ProcessesStartedBy(DWORD parentId);
// Ends the process and what it started, and waits until they are gone; true when they are.
bool EndProcessTree(DWORD processId);
// Waits for a process of that file name that is not among known and shows a window whose title
// begins with titleStart; returns its id and the window (0 and nullptr on time-out).
DWORD WaitForNewProcessWindow(const char* exeName, const std::vector<DWORD>& known, const std::string& titleStart,
                              HWND* window, DWORD deadlineMs = kDefaultDeadlineMs);


// The program path of an uninstall command such as "\"C:\App\SETUP.EXE\" /r".
std::string ProgramOfCommand(const std::string& command);
