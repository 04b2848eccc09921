// Checks shared by the per-locale resource tests.
#include "locale_checks.h"

#include <gtest/gtest.h>
#include <string>

#include "base/messages.h"
#include "res/resource.h"
#include "resource_reader.h"
#include "setup/install_state.h"

void UseOwnResources()
{
    installState.instance = GetModuleHandleA(nullptr);
}

void ExpectMessageTable(const ExpectedMessage* table, size_t count)
{
    UseOwnResources();
    bool hasText[80] = {};
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE("message " + std::to_string(table[i].id));
        EXPECT_EQ(Utf8FromAnsiText(LoadMessage(table[i].id)), table[i].text);
        if (table[i].id < 80)
            hasText[table[i].id] = true;
    }
    for (int id = 0; id < 80; ++id) {
        if (!hasText[id]) {
            EXPECT_STREQ(LoadMessage(id), "?") << "id " << id << " must have no text";
        }
    }
}

void ExpectLoadedTemplates(const LoadedTemplateTexts& expected)
{
    {
        SCOPED_TRACE("folder page 100");
        CreatedDialog page(IDD_FOLDER_PAGE);
        ASSERT_NE(page.window(), nullptr);
        EXPECT_EQ(WindowTextUtf8(page.item(IDC_BROWSE)), expected.browseButton);
        ASSERT_NE(page.item(IDC_ABOUT), nullptr);
        EXPECT_EQ((page.itemStyle(IDC_ABOUT) & WS_VISIBLE) != 0, !expected.japaneseFolderPage);
        if (expected.japaneseFolderPage) {
            for (int id : {IDC_FULL_INSTALL, IDC_REDUCED_INSTALL}) {
                ASSERT_NE(page.item(id), nullptr) << "radio button " << id;
                EXPECT_EQ(page.itemStyle(id) & WS_VISIBLE, 0u) << "radio button " << id;
            }
            // What the folder page does: check 1005 and read it back as the full installation.
            CheckRadioButton(page.window(), IDC_FULL_INSTALL, IDC_FULL_INSTALL, IDC_FULL_INSTALL);
            EXPECT_EQ(IsDlgButtonChecked(page.window(), IDC_FULL_INSTALL), 1u);
        } else {
            EXPECT_EQ(page.item(IDC_FULL_INSTALL), nullptr);
            EXPECT_EQ(page.item(IDC_REDUCED_INSTALL), nullptr);
            CheckRadioButton(page.window(), IDC_FULL_INSTALL, IDC_FULL_INSTALL, IDC_FULL_INSTALL);
            EXPECT_EQ(IsDlgButtonChecked(page.window(), IDC_FULL_INSTALL), 0u);
        }
    }
    {
        SCOPED_TRACE("menu page 110");
        CreatedDialog page(IDD_MENU_PAGE);
        ASSERT_NE(page.window(), nullptr);
        EXPECT_EQ(WindowTextUtf8(page.item(IDC_MENU_SHORTCUTS)), expected.menuCheckBox);
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
        EXPECT_EQ(WindowTextUtf8(page.item(IDC_STATUS)), expected.copyStatus);
        char className[64] = "";
        GetClassNameA(page.item(IDC_PROGRESS), className, sizeof className);
        EXPECT_EQ(lstrcmpiA(className, "msctls_progress32"), 0) << className;
        EXPECT_EQ(page.itemStyle(IDC_UNINSTALL_HINT) & WS_VISIBLE, 0u);
    }
    {
        SCOPED_TRACE("about box 103");
        CreatedDialog box(IDD_ABOUT);
        ASSERT_NE(box.window(), nullptr);
        EXPECT_EQ(WindowTextUtf8(box.window()), expected.aboutCaption);
        EXPECT_EQ(WindowTextUtf8(box.item(IDOK)), expected.aboutOk);
    }
    {
        SCOPED_TRACE("uninstall dialog 102");
        CreatedDialog box(IDD_UNINSTALL);
        ASSERT_NE(box.window(), nullptr);
        EXPECT_EQ(WindowTextUtf8(box.window()), "");
        EXPECT_EQ(WindowTextUtf8(box.item(IDC_UNINSTALL_STATUS)), expected.uninstallStatus);
        EXPECT_EQ(WindowTextUtf8(box.item(IDC_FINISH)), expected.finishButton);
        EXPECT_FALSE(IsWindowEnabled(box.item(IDC_FINISH)));
    }
}
