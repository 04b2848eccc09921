// InstallState: the state of one run: the folders the user chose (proposed from the package
// and an earlier installation), the choices on the wizard's pages, how far the copy has got,
// and the windows that own the boxes. What the package itself says is in Package.
#pragma once

#include <windows.h>
#include "base/path.h"
#include "setup/package.h"

struct InstallState {
    HINSTANCE instance;
    char modulePath[kPathCapacity];      // the running executable
    char installDir[kPathCapacity];      // destination folder, ending with a separator
    char menuDir[kPathCapacity];         // program-menu folder that receives the shortcuts
    bool folderWasThere;                 // installDir was there before the first install
    char earlierInstallDir[kPathCapacity];  // the folder of this application's registered copy
    bool earlierFolderWasThere;          // as that registration says of its folder
    bool reducedInstall;
    bool wantMenuShortcuts;
    bool wantDesktopShortcut;
    char openAfterInstall[kPathCapacity];
    char uninstallShortcutName[kPathCapacity];
    int stepIndex;
    ULONGLONG installedBytes;            // sizes of the package's files this run put in place
    bool installDone;
    bool installIncomplete;              // a step failed: a file not copied, a folder not made
    HWND sheetWindow;
    HWND ownerWindow;                    // owner of the boxes raised by shared routines
};

extern InstallState installState;
