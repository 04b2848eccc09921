// Packages for the wizard frame's end-to-end tests: a copy of the built program, its setup
// information file and data files in a folder of the test's own on C:, and the wizard started
// from it.
#pragma once

#include <windows.h>
#include <string>

#include "support/test_support.h"
#include "support/window_driver.h"

// A file of the given size whose bytes are never written (sparse where the disk allows).
bool WriteSizedFile(const std::string& path, unsigned long long size);
unsigned long long FileSize(const std::string& path);

struct FramePackage {
    // name: the TempFolder's name; install: the lines of section [Install] (CRLF-separated).
    FramePackage(const char* name, const std::string& install);
    TempFolder folder;
    std::string exe;  // folder\SETUP.EXE
    bool ready = false;
};

// Starts the install mode of the package's program and waits for the wizard whose caption is
// captionUtf8; the sheet, or null when it did not appear.
HWND StartWizard(ProgramRun& run, const FramePackage& package, const std::string& captionUtf8);

// A message box as read, and whether it shows an icon: Wine keeps the icon control of every
// box visible, so the icon it holds is what tells.
struct ShownBox {
    MessageBoxInfo info;
    bool iconShown = false;
};
// Waits for a box of the process, reads it and presses button; empty text when none came.
ShownBox AnswerBox(DWORD processId, int button);

// Types text into the folder page's edit, presses Next and answers the box that follows with OK.
ShownBox NextWithDestination(const ProgramRun& run, HWND sheet, const std::string& textUtf8);

// The ids of the sheet's buttons as controls.
constexpr int kNextButtonId = 0x3024;
constexpr int kBackButtonId = 0x3023;
