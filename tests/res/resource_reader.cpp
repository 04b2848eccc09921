// Reads dialog templates and texts of the running module for the resource tests.
#include "resource_reader.h"

#include <commctrl.h>

std::string Utf8FromWideText(const WCHAR* text, int length)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, length, &result[0], size, nullptr, nullptr);
    if (length < 0 && !result.empty())
        result.pop_back();  // the terminator
    return result;
}

std::string Utf8FromAnsiText(const std::string& text)
{
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size > 0 ? size : 0, L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return Utf8FromWideText(wide.data(), static_cast<int>(wide.size()));
}

namespace {

// Walks a template: WORDs, DWORD-aligned items, and the "string or ordinal" fields.
class TemplateCursor {
public:
    TemplateCursor(const BYTE* start, DWORD size) : start_(start), at_(start), end_(start + size) {}
    bool ok() const { return ok_; }
    WORD word()
    {
        if (at_ + 2 > end_) {
            ok_ = false;
            return 0;
        }
        WORD value = static_cast<WORD>(at_[0] | (at_[1] << 8));
        at_ += 2;
        return value;
    }
    DWORD dword()
    {
        DWORD low = word();
        return low | (static_cast<DWORD>(word()) << 16);
    }
    short signedWord() { return static_cast<short>(word()); }
    void alignToDword()
    {
        while (((at_ - start_) & 3) != 0 && at_ < end_)
            ++at_;
    }
    // A NUL-terminated UTF-16 string, or 0xFFFF and an ordinal (returned in ordinal).
    std::string stringOrOrdinal(int* ordinal)
    {
        *ordinal = -1;
        WORD first = word();
        if (first == 0xFFFF) {
            *ordinal = word();
            return std::string();
        }
        std::wstring text;
        for (WORD c = first; ok_ && c != 0; c = word())
            text.push_back(static_cast<wchar_t>(c));
        return Utf8FromWideText(text.data(), static_cast<int>(text.size()));
    }
    void skip(size_t bytes)
    {
        if (bytes > static_cast<size_t>(end_ - at_)) {
            ok_ = false;
            at_ = end_;
            return;
        }
        at_ += bytes;
    }

private:
    const BYTE* start_;
    const BYTE* at_;
    const BYTE* end_;
    bool ok_ = true;
};

std::string ClassName(const std::string& name, int ordinal)
{
    switch (ordinal) {
    case 0x80: return "button";
    case 0x81: return "edit";
    case 0x82: return "static";
    case 0x83: return "listbox";
    case 0x84: return "scrollbar";
    case 0x85: return "combobox";
    case -1: break;
    default: return "#" + std::to_string(ordinal);
    }
    std::string lower = name;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

}  // namespace

DialogTemplate ReadDialogTemplate(int id, LANGID language)
{
    DialogTemplate result;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(id), language);
    if (found == nullptr)
        return result;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    TemplateCursor cursor(data, SizeofResource(module, found));
    int ordinal;
    result.style = cursor.dword();
    cursor.dword();  // extended style
    int count = cursor.word();
    cursor.signedWord();
    cursor.signedWord();
    result.cx = cursor.signedWord();
    result.cy = cursor.signedWord();
    cursor.stringOrOrdinal(&ordinal);  // menu
    cursor.stringOrOrdinal(&ordinal);  // class
    result.caption = cursor.stringOrOrdinal(&ordinal);
    if (result.style & DS_SETFONT) {
        result.fontSize = cursor.word();
        result.fontName = cursor.stringOrOrdinal(&ordinal);
    }
    for (int i = 0; i < count && cursor.ok(); ++i) {
        TemplateControl control;
        cursor.alignToDword();
        control.style = cursor.dword();
        cursor.dword();  // extended style
        control.x = cursor.signedWord();
        control.y = cursor.signedWord();
        control.cx = cursor.signedWord();
        control.cy = cursor.signedWord();
        control.id = cursor.signedWord();
        std::string className = cursor.stringOrOrdinal(&ordinal);
        control.className = ClassName(className, ordinal);
        control.text = cursor.stringOrOrdinal(&ordinal);
        if (ordinal >= 0)
            control.text = "#" + std::to_string(ordinal);
        cursor.skip(cursor.word());  // creation data
        result.controls.push_back(control);
    }
    result.found = cursor.ok();
    return result;
}

std::string WindowTextUtf8(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return Utf8FromAnsiText(text);
}

namespace {

INT_PTR CALLBACK TrivialDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

}  // namespace

CreatedDialog::CreatedDialog(int templateId)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(templateId), RT_DIALOG);
    create(found ? static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(instance, found))) : nullptr);
}

CreatedDialog::CreatedDialog(int templateId, LANGID language)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(instance, RT_DIALOG, MAKEINTRESOURCEA(templateId), language);
    create(found ? static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(instance, found))) : nullptr);
}

void CreatedDialog::create(const DLGTEMPLATE* dialog)
{
    if (dialog == nullptr)
        return;
    InitCommonControls();  // the copy page's progress bar class
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (dialog->style & WS_CHILD)
        parent_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  instance, nullptr);
    dialog_ = CreateDialogIndirectParamA(instance, dialog, parent_, TrivialDialog, 0);
}

CreatedDialog::~CreatedDialog()
{
    if (dialog_ != nullptr)
        DestroyWindow(dialog_);
    if (parent_ != nullptr)
        DestroyWindow(parent_);
}
