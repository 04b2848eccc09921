// About box and the version-resource reader behind it.
#pragma once

#include <windows.h>

class VersionInfo {
public:
    explicit VersionInfo(const char* filePath);
    ~VersionInfo();
    VersionInfo(const VersionInfo&) = delete;
    VersionInfo& operator=(const VersionInfo&) = delete;

    // The string under "\StringFileInfo\<lang><codepage>\name", or nullptr.
    const char* QueryStringFor(const char* name, WORD language, WORD codePage) const;
    // The string by the fallback order: user's language, neutral, first listed; never null.
    const char* QueryString(const char* name) const;

    BYTE* block = nullptr;
    const WORD* translations = nullptr;
    DWORD translationCount = 0;
    bool loaded = false;
};

INT_PTR CALLBACK AboutBox(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
