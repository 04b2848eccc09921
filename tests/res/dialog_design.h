// The five dialog templates as designed: in template (= tab) order the controls every
// language has (id, class, the style bits the program and the user depend on) and their texts
// in each language, as UTF-8. Sizes and places are not stated here: the templates are held to
// layout rules instead (dialog_templates_test.cpp).
#pragma once

#include <windows.h>

#include <vector>

#include "res/resource.h"

const LANGID kEnglishTemplates = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kJapaneseTemplates = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const LANGID kChineseTemplates = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);

// A text in each language; nullptr where the design states none (the copyright line, built
// from the version resource's constants) or the language has no such template.
struct DesignText {
    const char* english;
    const char* japanese;
    const char* chinese;

    const char* In(LANGID language) const
    {
        return language == kJapaneseTemplates ? japanese : language == kChineseTemplates ? chinese : english;
    }
};

struct DesignControl {
    int id;  // -1 for a static without id
    const char* className;
    DWORD style;  // without WS_CHILD (always required) and WS_GROUP (not part of the design)
    DesignText text;
};

struct DialogDesign {
    const char* name;
    int id;
    std::vector<LANGID> languages;
    DWORD style;
    DesignText caption;
    std::vector<DesignControl> controls;
};

inline const std::vector<DialogDesign>& DialogDesigns()
{
    const DWORD kPage = DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION;
    const DWORD kModal = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD V = WS_VISIBLE;
    const DWORD T = WS_TABSTOP;
    const DWORD kText = V | SS_LEFT;
    const DWORD kHiddenText = SS_LEFT;
    const DWORD kIcon = V | SS_ICON;
    const DWORD kButton = V | T | BS_PUSHBUTTON;
    const DWORD kDefaultButton = V | T | BS_DEFPUSHBUTTON;
    const DWORD kPathEdit = V | T | WS_BORDER | ES_AUTOHSCROLL;
    const DWORD kCheckBox = V | T | BS_AUTOCHECKBOX;
    const DWORD kHiddenRadio = BS_AUTORADIOBUTTON;
    const DWORD kCombo = V | T | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL;
    const DWORD kProgress = V | WS_BORDER;
    const DWORD kProductLine = V | SS_CENTER | SS_NOPREFIX;
    const DWORD kCopyrightLine = V | SS_LEFT | SS_NOPREFIX;
    const DWORD kCommentsEdit = V | T | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
    const DesignText kNone = {"", "", ""};
    const DesignText kPageIcon = {"#114", "#114", "#114"};
    const std::vector<LANGID> kAll = {kEnglishTemplates, kJapaneseTemplates, kChineseTemplates};

    static const std::vector<DialogDesign> designs = {
        {"folder page", IDD_FOLDER_PAGE, {kEnglishTemplates, kChineseTemplates}, kPage, kNone, {
            {-1, "static", kText,
             {"Close all applications before installtion. Then, press <Next> button.", nullptr,
              "建議您先關閉所有正在執行中的應用程式，然後按一下「下一步」。"}},
            {IDC_PROMPT, "static", kText, kNone},
            {IDC_DESTINATION, "edit", kPathEdit, kNone},
            {IDC_BROWSE, "button", kButton, {"&Browse...", nullptr, "瀏覽(&B)..."}},
            {-1, "static", kText, {"Caution :", nullptr, "注意："}},
            {IDC_ABOUT, "button", kButton, {"&About...", nullptr, "關於(&A)..."}},
            {-1, "static", kIcon, kPageIcon}}},
        // The Japanese page offers a full and a reduced installation, kept hidden with their size
        // labels, and hides the About button; it has no caution line and no icon.
        {"Japanese folder page", IDD_FOLDER_PAGE, {kJapaneseTemplates}, kPage, kNone, {
            {IDC_PROMPT, "static", kText, kNone},
            {IDC_DESTINATION, "edit", kPathEdit, kNone},
            {IDC_BROWSE, "button", kButton, {nullptr, "参照(&B)...", nullptr}},
            {IDC_ABOUT, "button", kButton & ~V, {nullptr, "御案内(&A)...", nullptr}},
            {-1, "static", kHiddenText, {nullptr, "約１．５Ｇ", nullptr}},
            {IDC_FULL_INSTALL, "button", kHiddenRadio, {nullptr, "フルインストール", nullptr}},
            {IDC_REDUCED_INSTALL, "button", kHiddenRadio, {nullptr, "音声無し", nullptr}},
            {-1, "static", kHiddenText, {nullptr, "約１Ｇ", nullptr}}}},
        {"menu page", IDD_MENU_PAGE, kAll, kPage, kNone, {
            {IDC_MENU_SHORTCUTS, "button", kCheckBox,
             {"Register for start menu.", "スタートメニューに登録する", "登錄到開始功能表內"}},
            {IDC_DESKTOP_SHORTCUT, "button", kCheckBox,
             {"Make a shortcut icon on desktop.", "デスクトップにショートカットを作成する", "在桌面建立程式捷徑"}},
            {-1, "static", kIcon, kPageIcon},
            {IDC_MENU_FOLDER, "combobox", kCombo, kNone}}},
        {"copy page", IDD_COPY_PAGE, kAll, kPage, kNone, {
            {IDC_STATUS, "static", kText, {"Copying ...", "ファイルをコピーしています...", "正在複製檔案..."}},
            {IDC_PROGRESS, "msctls_progress32", kProgress, {"Progress1", "Progress1", "Progress1"}},
            {IDC_UNINSTALL_HINT, "static", kHiddenText,
             {"Use <Add/Remove Programs> in the Control Panel for the uninstallation.",
              "このソフトを削除するにはコントロールパネルの「アプリケーションの追加と削除」を使ってください。",
              "如果要解除安裝，請從控制台的「新增/移除程式」項目進行移除。"}},
            {-1, "static", kIcon, kPageIcon}}},
        {"about box", IDD_ABOUT, kAll, kModal, {"Version Infomation", "バージョン情報", "關於 Pondway"}, {
            {IDOK, "button", kDefaultButton, {"OK", "OK", "確定"}},
            {-1, "static", kIcon, kPageIcon},
            {IDC_PRODUCT, "static", kProductLine, {"Pondway", "Pondway", "Pondway"}},
            {IDC_COPYRIGHT, "static", kCopyrightLine, {nullptr, nullptr, nullptr}},
            {IDC_COMMENTS, "edit", kCommentsEdit, kNone}}},
        {"uninstall dialog", IDD_UNINSTALL, kAll, kModal, kNone, {
            {IDC_UNINSTALL_STATUS, "static", kText, {"Uninstalling ...", "削除しています...", "正在移除..."}},
            {IDC_FINISH, "button", kDefaultButton | WS_DISABLED, {"Finish", "終了", "結束"}},
            {-1, "static", kIcon, {"#113", "#113", "#113"}}}},
    };
    return designs;
}

// The design of template id in language; nullptr when it has none.
inline const DialogDesign* FindDialogDesign(int id, LANGID language)
{
    for (const DialogDesign& design : DialogDesigns()) {
        if (design.id != id)
            continue;
        for (LANGID each : design.languages) {
            if (each == language)
                return &design;
        }
    }
    return nullptr;
}
