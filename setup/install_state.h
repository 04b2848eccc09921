// InstallState: the one process-wide record that every part of the program reads and writes.
#pragma once

#include <windows.h>
#include "base/path.h"

constexpr size_t kTitleCapacity = 100;

struct InstallState {
    HINSTANCE instance;
    char modulePath[kPathCapacity];      // the running executable
    char sourceDir[kPathCapacity];       // folder of the working path, with trailing separator
    char exeName[kPathCapacity];         // file name of the working path
    char infPath[kPathCapacity];         // the setup information file
    char infName[kPathCapacity];
    char title[kTitleCapacity];
    char installDir[kPathCapacity];      // destination folder, ending with a separator
    char installKey[kPathCapacity];      // name of the uninstall entry's key
    char menuDir[kPathCapacity];         // program-menu folder that receives the shortcuts
    char shortcutTarget[kPathCapacity];
    bool residentProgram;
    bool keepForeignFiles;
    bool folderWasThere;                 // installDir was there before the first install
    char earlierInstallDir[kPathCapacity];  // the folder of this application's registered copy
    bool earlierFolderWasThere;          // as that registration says of its folder
    int fileCount;
    int groupCount;
    bool reducedInstall;
    bool wantMenuShortcuts;
    bool wantDesktopShortcut;
    char openAfterInstall[kPathCapacity];
    char uninstallShortcutName[kPathCapacity];
    int stepIndex;
    bool installDone;
    bool installIncomplete;              // a step failed: a file not copied, a folder not made
    HWND sheetWindow;
    HWND ownerWindow;                    // owner of the boxes raised by shared routines
    char entrySource[kPathCapacity];     // scratch: current entry's source or shortcut name
    char entryTarget[kPathCapacity];     // scratch: current entry's destination or target
};

extern InstallState installState;
