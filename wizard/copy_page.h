// Copy page: the install step sequence with its copy and overwrite rules.
#pragma once

#include <windows.h>
#include <stddef.h>

INT_PTR CALLBACK CopyPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
void RunInstallStep();

// Copies entrySource to entryTarget; silent replaces an existing target without a question.
bool CopyEntryFile(bool silent);
bool ConfirmOverwrite(const char* source, const char* target);

// "date time  name" of one file, in the user's short date and 24-hour time.
void FormatFileStamp(char* out, size_t capacity, const char* name, const FILETIME& lastWrite);
