// About box and the version-resource reader behind it.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "base/handle.h"
#include "base/system_library.h"

class VersionInfo {
public:
    explicit VersionInfo(const char* filePath);
    VersionInfo(const VersionInfo&) = delete;
    VersionInfo& operator=(const VersionInfo&) = delete;

    // The string under "\StringFileInfo\<lang><codepage>\name", or nullptr.
    const char* QueryStringFor(const char* name, WORD language, WORD codePage) const;
    // The string by the fallback order: user's language, neutral, first listed; never null.
    const char* QueryString(const char* name) const;

    bool IsLoaded() const { return loaded_; }
    // The "\VarFileInfo\Translation" pairs: language, code page, language, code page, ...
    const WORD* Translations() const { return translations_; }
    DWORD TranslationCount() const { return translationCount_; }

private:
    VersionLibrary library_;
    HeapBlock block_;
    const WORD* translations_ = nullptr;
    DWORD translationCount_ = 0;
    bool loaded_ = false;
};

// The about box's product line, "name\n\nversion special (Build: build)", into out. A line that
// would not fit in capacity bytes is refused (false, out untouched) rather than cut.
bool FormatProductLine(char* out, size_t capacity, const char* product, const char* version, const char* specialBuild,
                       const char* build);

INT_PTR CALLBACK AboutBox(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
