// Checks shared by the per-locale resource tests.
#include "locale_checks.h"

#include <gtest/gtest.h>
#include <string>

#include "base/messages.h"
#include "dialog_design.h"
#include "res/resource.h"
#include "resource_reader.h"
#include "setup/install_state.h"

void UseOwnResources()
{
    installState.instance = GetModuleHandleA(nullptr);
}

void ExpectMessageTable(MessageLanguage language)
{
    UseOwnResources();
    bool hasText[80] = {};
    for (const ExpectedMessage& message : kExpectedMessages) {
        SCOPED_TRACE("message " + std::to_string(message.id));
        EXPECT_EQ(Utf8FromAnsiText(LoadMessage(message.id)), message.In(language));
        if (message.id < 80)
            hasText[message.id] = true;
    }
    for (int id = 0; id < 80; ++id) {
        if (!hasText[id]) {
            EXPECT_STREQ(LoadMessage(id), "?") << "id " << id << " must have no text";
        }
    }
}

namespace {

// The created dialog shows the caption and texts the design gives its language.
void ExpectDesignTexts(const CreatedDialog& dialog, int templateId, LANGID language)
{
    const DialogDesign* design = FindDialogDesign(templateId, language);
    ASSERT_NE(design, nullptr);
    EXPECT_EQ(WindowTextUtf8(dialog.window()), design->caption.In(language));
    for (const DesignControl& control : design->controls) {
        const char* text = control.text.In(language);
        bool showsText = std::string(control.className) == "button" || std::string(control.className) == "static";
        if (control.id == -1 || text == nullptr || !showsText)
            continue;
        ASSERT_NE(dialog.item(control.id), nullptr) << "control " << control.id;
        EXPECT_EQ(WindowTextUtf8(dialog.item(control.id)), text) << "control " << control.id;
    }
}

}  // namespace

void ExpectLoadedTemplates(LANGID language)
{
    bool japanese = language == kJapaneseTemplates;
    {
        SCOPED_TRACE("folder page 100");
        CreatedDialog page(IDD_FOLDER_PAGE);
        ASSERT_NE(page.window(), nullptr);
        ExpectDesignTexts(page, IDD_FOLDER_PAGE, language);
        ASSERT_NE(page.item(IDC_ABOUT), nullptr);
        EXPECT_EQ((page.itemStyle(IDC_ABOUT) & WS_VISIBLE) != 0, !japanese);
        if (japanese) {
            for (int id : {IDC_FULL_INSTALL, IDC_REDUCED_INSTALL}) {
                ASSERT_NE(page.item(id), nullptr) << "radio button " << id;
                EXPECT_EQ(page.itemStyle(id) & WS_VISIBLE, 0u) << "radio button " << id;
            }
        } else {
            // Without button 1005 the page reads every installation as a reduced one. What the
            // running page makes of the buttons is checked on the built program:
            // WizardFrameE2eJa.FullInstallationNeedsItsFixedSpace and
            // CopyJapaneseInstallTest.FullInstallationCopiesEntryTwo (Japanese, full),
            // CopyInstallTest.FullInstallWithEveryOverwriteRule and
            // WizardFrameE2e.FreeSpaceMustHoldTheFilesOfTheInstallation (English, reduced).
            EXPECT_EQ(page.item(IDC_FULL_INSTALL), nullptr);
            EXPECT_EQ(page.item(IDC_REDUCED_INSTALL), nullptr);
        }
    }
    {
        SCOPED_TRACE("menu page 110");
        CreatedDialog page(IDD_MENU_PAGE);
        ASSERT_NE(page.window(), nullptr);
        ExpectDesignTexts(page, IDD_MENU_PAGE, language);
        DWORD style = page.itemStyle(IDC_MENU_FOLDER);
        EXPECT_EQ(style & 3u, static_cast<DWORD>(CBS_DROPDOWN)) << std::hex << style;
        EXPECT_NE(style & CBS_SORT, 0u) << std::hex << style;
        EXPECT_NE(style & CBS_AUTOHSCROLL, 0u) << std::hex << style;
        // The combo box takes typed folder names as well as listed ones.
        SendDlgItemMessageA(page.window(), IDC_MENU_FOLDER, CB_ADDSTRING, 0, (LPARAM) "Zeta");
        SendDlgItemMessageA(page.window(), IDC_MENU_FOLDER, CB_ADDSTRING, 0, (LPARAM) "Alpha");
        char first[16] = "";
        SendDlgItemMessageA(page.window(), IDC_MENU_FOLDER, CB_GETLBTEXT, 0, (LPARAM) first);
        EXPECT_STREQ(first, "Alpha");
        SetDlgItemTextA(page.window(), IDC_MENU_FOLDER, "Games\\Puzzle");
        EXPECT_EQ(WindowTextUtf8(page.item(IDC_MENU_FOLDER)), "Games\\Puzzle");
    }
    {
        SCOPED_TRACE("copy page 105");
        CreatedDialog page(IDD_COPY_PAGE);
        ASSERT_NE(page.window(), nullptr);
        ExpectDesignTexts(page, IDD_COPY_PAGE, language);
        char className[64] = "";
        GetClassNameA(page.item(IDC_PROGRESS), className, sizeof className);
        EXPECT_EQ(lstrcmpiA(className, "msctls_progress32"), 0) << className;
        EXPECT_EQ(page.itemStyle(IDC_UNINSTALL_HINT) & WS_VISIBLE, 0u);
    }
    {
        SCOPED_TRACE("about box 103");
        CreatedDialog box(IDD_ABOUT);
        ASSERT_NE(box.window(), nullptr);
        ExpectDesignTexts(box, IDD_ABOUT, language);
    }
    {
        SCOPED_TRACE("uninstall dialog 102");
        CreatedDialog box(IDD_UNINSTALL);
        ASSERT_NE(box.window(), nullptr);
        ExpectDesignTexts(box, IDD_UNINSTALL, language);
        EXPECT_FALSE(IsWindowEnabled(box.item(IDC_FINISH)));
    }
}
