// Reads the program's resources back as the platform stores them: dialog templates parsed
// from their binary form, and texts turned into UTF-8 so tests compare them with literals.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

std::string Utf8FromWideText(const WCHAR* text, int length = -1);
// Text in the active ANSI code page, as LoadStringA and GetWindowTextA deliver it.
std::string Utf8FromAnsiText(const std::string& text);

// One control of a dialog template. Class names are lower case ("button", "edit", "static",
// "combobox" for the predefined ordinals); an icon reference reads "#114".
struct TemplateControl {
    int id;  // -1 for a static without id
    std::string className;
    DWORD style;
    int x, y, cx, cy;
    std::string text;
};

struct DialogTemplate {
    bool found = false;
    DWORD style = 0;
    int cx = 0, cy = 0;
    std::string caption;
    int fontSize = 0;
    std::string fontName;
    std::vector<TemplateControl> controls;
};

// The template of exactly that language in the running module (no loader fallback).
DialogTemplate ReadDialogTemplate(int id, LANGID language);

// The window text of a control or window, as UTF-8.
std::string WindowTextUtf8(HWND window);

// A template created the way the program creates it: wizard pages as children of a hidden
// owner window, the others as popups. Destroyed with it.
class CreatedDialog {
public:
    // The template of the loader's language choice.
    explicit CreatedDialog(int templateId);
    // The template of exactly that language, hidden.
    CreatedDialog(int templateId, LANGID language);
    ~CreatedDialog();
    CreatedDialog(const CreatedDialog&) = delete;
    CreatedDialog& operator=(const CreatedDialog&) = delete;
    HWND window() const { return dialog_; }
    HWND item(int id) const { return GetDlgItem(dialog_, id); }
    DWORD itemStyle(int id) const { return GetWindowLongA(item(id), GWL_STYLE); }

private:
    void create(const DLGTEMPLATE* dialog);
    HWND parent_ = nullptr;
    HWND dialog_ = nullptr;
};
