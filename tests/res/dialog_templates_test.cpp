// The five dialog templates in each language: read from their binary form they hold exactly
// the designed controls (dialog_design.h) with the language's texts and font; created as
// windows from each language's template, every control lies inside its dialog and none lies
// on another.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "dialog_design.h"
#include "resource_reader.h"

namespace {

const char* FontOf(LANGID language)
{
    return language == kEnglishTemplates ? "MS Shell Dlg" : language == kJapaneseTemplates ? "ＭＳ Ｐゴシック" : "新細明體";
}

int FontSizeOf(LANGID language)
{
    return language == kEnglishTemplates ? 8 : 9;
}

std::string Describe(const DialogDesign& design, LANGID language)
{
    const char* name = language == kEnglishTemplates ? "English" : language == kJapaneseTemplates ? "Japanese" : "Chinese";
    return std::string(design.name) + ", " + name;
}

TEST(DialogTemplates, EachLanguageHasExactlyTheDesignedControls)
{
    for (const DialogDesign& design : DialogDesigns()) {
        for (LANGID language : design.languages) {
            SCOPED_TRACE(Describe(design, language));
            DialogTemplate actual = ReadDialogTemplate(design.id, language);
            ASSERT_TRUE(actual.found);
            EXPECT_EQ(actual.style, design.style) << std::hex << actual.style;
            EXPECT_EQ(actual.caption, design.caption.In(language));
            EXPECT_EQ(actual.fontName, FontOf(language));
            EXPECT_EQ(actual.fontSize, FontSizeOf(language));
            ASSERT_EQ(actual.controls.size(), design.controls.size());
            for (size_t i = 0; i < design.controls.size(); ++i) {
                const DesignControl& want = design.controls[i];
                const TemplateControl& have = actual.controls[i];
                SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(want.id));
                EXPECT_EQ(have.id, want.id);
                EXPECT_EQ(have.className, want.className);
                EXPECT_NE(have.style & WS_CHILD, 0u);
                EXPECT_EQ(have.style & ~(WS_CHILD | WS_GROUP), want.style) << std::hex << have.style;
                if (want.text.In(language) != nullptr) {
                    EXPECT_EQ(have.text, want.text.In(language));
                }
            }
        }
    }
}

// Where a control of the created dialog lies, in the dialog's client coordinates.
struct PlacedControl {
    int id;
    std::string className;
    RECT rect;
};

std::string Describe(const PlacedControl& control)
{
    return control.className + " " + std::to_string(control.id) + " (" + std::to_string(control.rect.left) + "," +
           std::to_string(control.rect.top) + ")-(" + std::to_string(control.rect.right) + "," +
           std::to_string(control.rect.bottom) + ")";
}

std::vector<PlacedControl> PlacedControls(HWND dialog)
{
    std::vector<PlacedControl> placed;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        PlacedControl control;
        control.id = static_cast<short>(GetDlgCtrlID(child));
        char className[64] = "";
        GetClassNameA(child, className, sizeof className);
        control.className = className;
        GetWindowRect(child, &control.rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.rect), 2);
        placed.push_back(control);
    }
    return placed;
}

// Measured on windows, not on the template's numbers: an icon static takes the size of its
// icon whatever the template says, and a drop-down combo box the height of its closed field
// (its list opens over the controls below it, as designed). Hidden controls count too: the
// program shows some of them (the copy page's uninstall hint) while the others stay.
TEST(DialogTemplates, EveryControlLiesInsideItsDialogAndOnNoOther)
{
    for (const DialogDesign& design : DialogDesigns()) {
        for (LANGID language : design.languages) {
            SCOPED_TRACE(Describe(design, language));
            CreatedDialog dialog(design.id, language);
            ASSERT_NE(dialog.window(), nullptr);
            RECT client;
            GetClientRect(dialog.window(), &client);
            ASSERT_GT(client.right, 0);
            ASSERT_GT(client.bottom, 0);
            std::vector<PlacedControl> placed = PlacedControls(dialog.window());
            EXPECT_EQ(placed.size(), design.controls.size());
            for (size_t i = 0; i < placed.size(); ++i) {
                const RECT& rect = placed[i].rect;
                EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right && rect.bottom <= client.bottom &&
                            rect.left < rect.right && rect.top < rect.bottom)
                    << Describe(placed[i]) << " reaches outside the client area (0,0)-(" << client.right << ","
                    << client.bottom << ")";
                for (size_t j = i + 1; j < placed.size(); ++j) {
                    RECT common;
                    EXPECT_FALSE(IntersectRect(&common, &rect, &placed[j].rect))
                        << Describe(placed[i]) << " overlaps " << Describe(placed[j]);
                }
            }
        }
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
        EXPECT_EQ(languages, (std::vector<LANGID>{kChineseTemplates, kEnglishTemplates, kJapaneseTemplates}))
            << "template " << id;
        for (LANGID language : languages)
            EXPECT_NE(FindDialogDesign(id, language), nullptr) << "template " << id << " language " << language;
    }
}

}  // namespace
