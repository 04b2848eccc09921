// The five dialog templates in each language, read from their binary form: every control's
// id, class, place and size in dialog units, style and text, in template (= tab) order.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "res/resource.h"
#include "resource_reader.h"

namespace {

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);

const DWORD kPageStyle = DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION;
const DWORD kModalStyle = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

// Control styles without WS_CHILD (always required) and WS_GROUP (not part of the design).
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

struct Control {
    int id;
    const char* className;
    int x, y, cx, cy;
    DWORD style;
    const char* text;  // nullptr: checked elsewhere (the copyright line)
};

struct Template {
    const char* name;
    int id;
    LANGID language;
    DWORD style;
    int cx, cy;
    const char* caption;
    std::vector<Control> controls;
};

const char kHelv[] = "Helv";
const char kGothic[] = "ＭＳ Ｐゴシック";
const char kMingLiU[] = "新細明體";

const char* FontOf(LANGID language)
{
    return language == kEnglish ? kHelv : language == kJapanese ? kGothic : kMingLiU;
}

int FontSizeOf(LANGID language)
{
    return language == kEnglish ? 8 : 9;
}

std::vector<Template> Templates()
{
    return {
        {"folder page, English", IDD_FOLDER_PAGE, kEnglish, kPageStyle, 227, 93, "", {
            {-1, "static", 50, 54, 133, 16, kText,
             "Close all applications before installtion. Then, press <Next> button."},
            {1000, "static", 14, 11, 200, 8, kText, ""},
            {1001, "edit", 13, 27, 168, 12, kPathEdit, ""},
            {1002, "button", 185, 25, 40, 15, kButton, "&Browse..."},
            {-1, "static", 15, 54, 32, 8, kText, "Caution :"},
            {1003, "button", 185, 75, 40, 15, kButton, "&About..."},
            {-1, "static", 10, 70, 25, 25, kIcon, "#114"}}},
        {"folder page, Chinese", IDD_FOLDER_PAGE, kChinese, kPageStyle, 227, 95, "", {
            {-1, "static", 50, 54, 133, 16, kText,
             "建議您先關閉所有正在執行中的應用程式，然後按一下「下一步」。"},
            {1000, "static", 14, 11, 200, 8, kText, ""},
            {1001, "edit", 13, 27, 168, 12, kPathEdit, ""},
            {1002, "button", 185, 25, 40, 15, kButton, "瀏覽(&B)..."},
            {-1, "static", 15, 54, 28, 8, kText, "注意："},
            {1003, "button", 185, 75, 40, 15, kButton, "關於(&A)..."},
            {-1, "static", 10, 70, 25, 25, kIcon, "#114"}}},
        {"folder page, Japanese", IDD_FOLDER_PAGE, kJapanese, kPageStyle, 227, 97, "", {
            {1000, "static", 15, 11, 200, 8, kText, ""},
            {1001, "edit", 13, 27, 168, 12, kPathEdit, ""},
            {1002, "button", 185, 25, 40, 15, kButton, "参照(&B)..."},
            {1003, "button", 185, 75, 40, 15, kButton & ~V, "御案内(&A)..."},
            {-1, "static", 87, 56, 27, 8, kHiddenText, "約１．５Ｇ"},
            {1005, "button", 16, 54, 65, 10, kHiddenRadio, "フルインストール"},
            {1006, "button", 16, 67, 42, 10, kHiddenRadio, "音声無し"},
            {-1, "static", 87, 69, 18, 8, kHiddenText, "約１Ｇ"}}},
        {"menu page, English", IDD_MENU_PAGE, kEnglish, kPageStyle, 227, 95, "", {
            {1007, "button", 15, 15, 89, 10, kCheckBox, "Register for start menu."},
            {1006, "button", 15, 35, 125, 10, kCheckBox, "Make a shortcut icon on desktop."},
            {-1, "static", 10, 70, 20, 20, kIcon, "#114"},
            {1004, "combobox", 105, 13, 119, 76, kCombo, ""}}},
        {"menu page, Japanese", IDD_MENU_PAGE, kJapanese, kPageStyle, 227, 95, "", {
            {1007, "button", 15, 15, 95, 10, kCheckBox, "スタートメニューに登録する"},
            {1006, "button", 15, 35, 127, 10, kCheckBox, "デスクトップにショートカットを作成する"},
            {-1, "static", 10, 70, 20, 20, kIcon, "#114"},
            {1004, "combobox", 115, 14, 110, 76, kCombo, ""}}},
        {"menu page, Chinese", IDD_MENU_PAGE, kChinese, kPageStyle, 227, 95, "", {
            {1007, "button", 15, 15, 95, 10, kCheckBox, "登錄到開始功能表內"},
            {1006, "button", 15, 35, 127, 10, kCheckBox, "在桌面建立程式捷徑"},
            {-1, "static", 10, 70, 20, 20, kIcon, "#114"},
            {1004, "combobox", 115, 14, 110, 76, kCombo, ""}}},
        {"copy page, English", IDD_COPY_PAGE, kEnglish, kPageStyle, 227, 95, "", {
            {1008, "static", 18, 12, 203, 8, kText, "Copying ..."},
            {1004, "msctls_progress32", 17, 36, 195, 14, kProgress, "Progress1"},
            {1010, "static", 35, 51, 173, 24, kHiddenText,
             "Use <Add/Remove Programs> in the Control Panel for the uninstallation."},
            {-1, "static", 10, 70, 25, 25, kIcon, "#114"}}},
        {"copy page, Japanese", IDD_COPY_PAGE, kJapanese, kPageStyle, 227, 95, "", {
            {1008, "static", 18, 12, 203, 8, kText, "ファイルをコピーしています..."},
            {1004, "msctls_progress32", 17, 36, 195, 14, kProgress, "Progress1"},
            {1010, "static", 35, 51, 173, 24, kHiddenText,
             "このソフトを削除するにはコントロールパネルの「アプリケーションの追加と削除」を使ってください。"},
            {-1, "static", 10, 70, 25, 25, kIcon, "#114"}}},
        {"copy page, Chinese", IDD_COPY_PAGE, kChinese, kPageStyle, 227, 95, "", {
            {1008, "static", 18, 12, 203, 8, kText, "正在複製檔案..."},
            {1004, "msctls_progress32", 17, 36, 195, 14, kProgress, "Progress1"},
            {1010, "static", 35, 51, 173, 24, kHiddenText,
             "如果要解除安裝，請從控制台的「新增/移除程式」項目進行移除。"},
            {-1, "static", 10, 70, 25, 25, kIcon, "#114"}}},
        {"about box, English", IDD_ABOUT, kEnglish, kModalStyle, 267, 118, "Version Infomation", {
            {1, "button", 205, 10, 50, 14, kDefaultButton, "OK"},
            {-1, "static", 10, 10, 20, 20, kIcon, "#114"},
            {1002, "static", 35, 10, 165, 25, kProductLine, "Pondway"},
            {1001, "static", 35, 40, 220, 8, kCopyrightLine, nullptr},
            {1003, "edit", 35, 55, 220, 49, kCommentsEdit, ""}}},
        {"about box, Japanese", IDD_ABOUT, kJapanese, kModalStyle, 230, 119, "バージョン情報", {
            {1, "button", 170, 10, 50, 14, kDefaultButton, "OK"},
            {-1, "static", 10, 10, 20, 20, kIcon, "#114"},
            {1002, "static", 35, 10, 130, 30, kProductLine, "Pondway"},
            {1001, "static", 30, 50, 190, 10, kCopyrightLine, nullptr},
            {1003, "edit", 30, 65, 190, 45, kCommentsEdit, ""}}},
        {"about box, Chinese", IDD_ABOUT, kChinese, kModalStyle, 264, 119, "關於 Pondway", {
            {1, "button", 205, 10, 50, 14, kDefaultButton, "確定"},
            {-1, "static", 10, 10, 20, 20, kIcon, "#114"},
            {1002, "static", 35, 10, 165, 30, kProductLine, "Pondway"},
            {1001, "static", 30, 50, 225, 10, kCopyrightLine, nullptr},
            {1003, "edit", 30, 65, 225, 45, kCommentsEdit, ""}}},
        {"uninstall dialog, English", IDD_UNINSTALL, kEnglish, kModalStyle, 187, 73, "", {
            {1009, "static", 9, 16, 168, 24, kText, "Uninstalling ..."},
            {2, "button", 67, 48, 50, 15, kDefaultButton | WS_DISABLED, "Finish"},
            {-1, "static", 5, 45, 25, 25, kIcon, "#113"}}},
        {"uninstall dialog, Japanese", IDD_UNINSTALL, kJapanese, kModalStyle, 187, 73, "", {
            {1009, "static", 9, 16, 168, 24, kText, "削除しています..."},
            {2, "button", 67, 48, 50, 15, kDefaultButton | WS_DISABLED, "終了"},
            {-1, "static", 5, 45, 25, 25, kIcon, "#113"}}},
        {"uninstall dialog, Chinese", IDD_UNINSTALL, kChinese, kModalStyle, 187, 73, "", {
            {1009, "static", 9, 16, 168, 24, kText, "正在移除..."},
            {2, "button", 67, 48, 50, 15, kDefaultButton | WS_DISABLED, "結束"},
            {-1, "static", 5, 45, 25, 25, kIcon, "#113"}}},
    };
}

TEST(DialogTemplates, EachLanguageHasExactlyTheDesignedControls)
{
    for (const Template& expected : Templates()) {
        SCOPED_TRACE(expected.name);
        DialogTemplate actual = ReadDialogTemplate(expected.id, expected.language);
        ASSERT_TRUE(actual.found);
        EXPECT_EQ(actual.style, expected.style) << std::hex << actual.style;
        EXPECT_EQ(actual.cx, expected.cx);
        EXPECT_EQ(actual.cy, expected.cy);
        EXPECT_EQ(actual.caption, expected.caption);
        EXPECT_EQ(actual.fontName, FontOf(expected.language));
        EXPECT_EQ(actual.fontSize, FontSizeOf(expected.language));
        ASSERT_EQ(actual.controls.size(), expected.controls.size());
        for (size_t i = 0; i < expected.controls.size(); ++i) {
            const Control& want = expected.controls[i];
            const TemplateControl& have = actual.controls[i];
            SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(want.id));
            EXPECT_EQ(have.id, want.id);
            EXPECT_EQ(have.className, want.className);
            EXPECT_EQ(have.x, want.x);
            EXPECT_EQ(have.y, want.y);
            EXPECT_EQ(have.cx, want.cx);
            EXPECT_EQ(have.cy, want.cy);
            EXPECT_NE(have.style & WS_CHILD, 0u);
            EXPECT_EQ(have.style & ~(WS_CHILD | WS_GROUP), want.style) << std::hex << have.style;
            if (want.text != nullptr) {
                EXPECT_EQ(have.text, want.text);
            }
        }
    }
}

TEST(DialogTemplates, OnlyTheJapaneseFolderPageHasTheInstallationChoice)
{
    for (LANGID language : {kEnglish, kChinese}) {
        DialogTemplate page = ReadDialogTemplate(IDD_FOLDER_PAGE, language);
        ASSERT_TRUE(page.found) << "language " << language;
        for (const TemplateControl& control : page.controls)
            EXPECT_TRUE(control.id != IDC_FULL_INSTALL && control.id != IDC_REDUCED_INSTALL)
                << "language " << language << " has control " << control.id;
    }
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR languages)
{
    reinterpret_cast<std::vector<LANGID>*>(languages)->push_back(language);
    return TRUE;
}

TEST(DialogTemplates, EveryTemplateInExactlyTheThreeLanguages)
{
    // A stray language block would be picked by the loader for some users.
    HMODULE module = GetModuleHandleA(nullptr);
    for (int id : {IDD_FOLDER_PAGE, IDD_UNINSTALL, IDD_ABOUT, IDD_COPY_PAGE, IDD_MENU_PAGE}) {
        std::vector<LANGID> languages;
        EnumResourceLanguagesA(module, RT_DIALOG, MAKEINTRESOURCEA(id), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, (std::vector<LANGID>{kChinese, kEnglish, kJapanese})) << "template " << id;
    }
}

}  // namespace
