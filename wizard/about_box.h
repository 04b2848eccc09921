// About box and the version-resource reader behind it.
#pragma once

#include <windows.h>
#include <stddef.h>

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

// The about box's product line, "name\n\nversion special (Build: build)", into out. A line that
// would not fit in capacity bytes is refused (false, out untouched) rather than cut.
bool FormatProductLine(char* out, size_t capacity, const char* product, const char* version, const char* specialBuild,
                       const char* build);

INT_PTR CALLBACK AboutBox(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
