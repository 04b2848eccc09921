// Install wizard: the three-page property sheet.
#pragma once

#include "setup/engine_report.h"
#include "setup/package.h"

// Runs the wizard on package. answers (nullptr: message boxes) answers the copy page's questions and
// failures; progressOnly shows the copy page alone, with its Cancel, finishing by itself at the
// end. True when that Cancel was pressed.
bool RunInstallWizard(const Package& package, EngineReport* answers, bool progressOnly);

// The copy page's place in the sheet, where the folder page sends a full installation.
constexpr int kCopyPageIndex = 2;
