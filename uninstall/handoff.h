// Two-phase uninstall: the request process and the worker process with its dialog.
#pragma once

#include <windows.h>

void RequestUninstall();
void RunUninstallWorker();
void RunUninstallDialog();
INT_PTR CALLBACK UninstallDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
