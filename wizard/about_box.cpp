// About box: product, version, copyright and comments from the program's own version resource,
// looked up with a language fallback.
#include "wizard/about_box.h"

#include "base/path.h"
#include "base/system_library.h"
#include "base/window.h"
#include "res/resource.h"
#include "setup/install_state.h"

namespace {

constexpr const char* kProductLineFormat = "%s\n\n%s %s (Build: %s)";
constexpr size_t kProductLineCapacity = 1000;
constexpr const char* kStringTableFormat = "\\StringFileInfo\\%04x%04x\\%s";
// "\StringFileInfo\" + eight hexadecimal digits + "\"
constexpr int kStringTablePrefixLength = 16 + 8 + 1;

// The program as its command line names it, like the program the user started, not by the
// module path; the module path when that name does not fit. The line is copied with room for
// a name longer than any path, so a name that fits was not cut.
void StartedProgramPath(char (&path)[kPathCapacity])
{
    char line[2 * kPathCapacity];
    lstrcpynA(line, GetCommandLineA(), sizeof line);
    StripToProgramPath(line);
    if (line[0] == '\0' || !CopyText(path, line))
        CopyText(path, installState.modulePath);
}

// The box owns the messages shown while it is open; whoever opens it restores the owner.
void OnInitDialog(HWND dialog)
{
    installState.ownerWindow = dialog;
    CenterWindow(dialog);

    char program[kPathCapacity];
    StartedProgramPath(program);
    VersionInfo version(program);
    char line[kProductLineCapacity];
    if (FormatProductLine(line, sizeof line, version.QueryString("ProductName"), version.QueryString("ProductVersion"),
                          version.QueryString("SpecialBuild"), version.QueryString("FileVersion")))
        SetDlgItemTextA(dialog, IDC_PRODUCT, line);
    SetDlgItemTextA(dialog, IDC_COPYRIGHT, version.QueryString("LegalCopyright"));
    SetDlgItemTextA(dialog, IDC_COMMENTS, version.QueryString("Comments"));
}

// OK, the close box, Alt+F4 and Escape.
void OnCommand(HWND dialog, int id)
{
    if (id == IDOK || id == IDCANCEL)
        EndDialog(dialog, 1);
}

}  // namespace

VersionInfo::VersionInfo(const char* filePath)
{
    // Without the version reader the box shows no version: every query answers "".
    if (filePath == nullptr || !library_.Load())
        return;
    DWORD ignored = 0;
    DWORD size = library_.getFileVersionInfoSize(filePath, &ignored);
    if (size == 0)
        return;
    void* block = AllocateHeapBlock(block_, size);
    if (block == nullptr || !library_.getFileVersionInfo(filePath, 0, size, block))
        return;
    loaded_ = true;

    void* value = nullptr;
    UINT length = 0;
    if (library_.verQueryValue(block, "\\VarFileInfo\\Translation", &value, &length) && value != nullptr) {
        translations_ = static_cast<const WORD*>(value);
        translationCount_ = length / 4;
    }
}

const char* VersionInfo::QueryStringFor(const char* name, WORD language, WORD codePage) const
{
    if (!loaded_ || lstrlenA(name) >= static_cast<int>(kPathCapacity) - kStringTablePrefixLength)
        return nullptr;
    char subBlock[kPathCapacity];
    wsprintfA(subBlock, kStringTableFormat, static_cast<unsigned>(language), static_cast<unsigned>(codePage), name);
    void* value = nullptr;
    UINT length = 0;
    if (!library_.verQueryValue(block_.Get(), subBlock, &value, &length) || value == nullptr)
        return nullptr;
    return static_cast<const char*>(value);
}

const char* VersionInfo::QueryString(const char* name) const
{
    WORD userLanguage = GetUserDefaultLangID();
    WORD userCodePage = 0;
    WORD neutralCodePage = 0;
    for (DWORD i = 0; i < translationCount_; ++i) {
        WORD language = translations_[2 * i];
        WORD codePage = translations_[2 * i + 1];
        if (language == userLanguage)
            userCodePage = codePage;
        if (language == 0)
            neutralCodePage = codePage;
    }

    const char* value = nullptr;
    if (userCodePage != 0)
        value = QueryStringFor(name, userLanguage, userCodePage);
    // Asked even without a neutral pair ("00000000").
    if (value == nullptr)
        value = QueryStringFor(name, 0, neutralCodePage);
    if (value == nullptr && translationCount_ > 0)
        value = QueryStringFor(name, translations_[0], translations_[1]);
    return value != nullptr ? value : "";
}

bool FormatProductLine(char* out, size_t capacity, const char* product, const char* version, const char* specialBuild,
                       const char* build)
{
    // wsprintfA would write up to 1024 bytes; measure first so that it never passes capacity.
    size_t needed = lstrlenA(kProductLineFormat) - 4 * 2 + 1;
    needed += lstrlenA(product) + lstrlenA(version) + lstrlenA(specialBuild) + lstrlenA(build);
    if (needed > capacity)
        return false;
    wsprintfA(out, kProductLineFormat, product, version, specialBuild, build);
    return true;
}

INT_PTR CALLBACK AboutBox(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        break;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        break;
    }
    return FALSE;
}
