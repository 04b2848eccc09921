// Install wizard: the three-page property sheet.
#pragma once

void RunInstallWizard();

// The copy page's place in the sheet, where the folder page sends a full installation.
constexpr int kCopyPageIndex = 2;
