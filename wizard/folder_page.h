// The destination-folder page of the install wizard, the free-space rule it applies and the
// shell's folder picker it offers.
#pragma once

#include <windows.h>

#include "setup/engine_report.h"
#include "setup/package.h"

// Its PROPSHEETPAGE's lParam points at the Package.
INT_PTR CALLBACK FolderPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Megabytes that the files of this installation need: the installer, its setup information
// file and every file entry's source ("02" entries left out of a reduced installation),
// rounded up to whole megabytes. The free-space threshold of the reduced installation.
unsigned RequiredMegabytes(const Package& package);

// Megabytes the user may still write on the drive or share holding installDir; 0 when unknown.
unsigned FreeSpaceMegabytes();

enum class DestinationVerdict { Accepted, Refused, LowDiskSpace };

// The checks of the destination in installState.installDir (a full path ending with a
// separator), the same for the page and the unattended install: a root, a folder that cannot
// be made, paths too long for the program, another package's installation, a folder that holds
// files (report asks), and the free space. Refusals go to report; LowDiskSpace is left to the
// caller, which tells it in its own way.
DestinationVerdict CheckDestination(const Package& package, EngineReport& report);
