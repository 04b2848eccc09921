// Program-menu page on a page made from template 110: the folder list of the Start Menu, the
// current folder selected, and what Next records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "copy_test_helpers.h"
#include "res/resource.h"
#include "setup/install_state.h"
#include "support/test_support.h"
#include "wizard/menu_page.h"

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::vector<std::string> Items(HWND combo)
{
    std::vector<std::string> items;
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[MAX_PATH] = "";
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

std::string Joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += "[" + item + "]";
    return text;
}

class MenuPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installState = InstallState{};
        testPackage = Package{};
        installState.instance = GetModuleHandleA(nullptr);
        installState.sheetWindow = sheet.window;
        startMenu = folder / "Start Menu";
        for (const char* sub : {"Programs\\Accessories\\Games", "Programs\\StartUp\\Inside", "Games", "Tools"})
            ASSERT_TRUE(MakeFolder(startMenu + "\\" + sub));
        ASSERT_TRUE(WriteFileBytes(startMenu + "\\Programs\\not a folder.txt", "x"));
        SetRegistryString(HKEY_CURRENT_USER, kShellFolders, "Start Menu", startMenu);
        SetRegistryString(HKEY_CURRENT_USER, kShellFolders, "Startup", startMenu + "\\Programs\\StartUp");
        lstrcpyA(installState.menuDir, (startMenu + "\\Programs\\Puzzle").c_str());
    }

    static bool MakeFolder(const std::string& path)
    {
        return WriteFileBytes(path + "\\probe", "") && DeleteFileA((path + "\\probe").c_str());
    }

    HWND CreatePage()
    {
        HWND page = sheet.CreatePage(IDD_MENU_PAGE, MenuPage);
        combo = GetDlgItem(page, IDC_MENU_FOLDER);
        return page;
    }

    std::string ComboText()
    {
        char text[MAX_PATH] = "";
        GetWindowTextA(combo, text, sizeof text);
        return text;
    }

    TempFolder folder{"wizard_copy_menu_page"};
    std::string startMenu;
    RegistryValueGuard startMenuGuard{HKEY_CURRENT_USER, kShellFolders, "Start Menu"};
    RegistryValueGuard startupGuard{HKEY_CURRENT_USER, kShellFolders, "Startup"};
    SheetRecorder sheet;
    HWND combo = nullptr;
};

TEST_F(MenuPageTest, ListsStartMenuFoldersWithoutStartupAndSelectsTheCurrentOne)
{
    HWND page = CreatePage();
    ASSERT_NE(page, nullptr);

    std::vector<std::string> expected = {"Games", "Programs", "Programs\\Accessories", "Programs\\Accessories\\Games",
                                         "Programs\\Puzzle", "Tools"};
    EXPECT_EQ(Joined(Items(combo)), Joined(expected));
    EXPECT_EQ(ComboText(), "Programs\\Puzzle");
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_MENU_SHORTCUTS), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_DESKTOP_SHORTCUT), static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(MenuPageTest, ExistingCurrentFolderIsNotListedTwice)
{
    lstrcpyA(installState.menuDir, (startMenu + "\\programs\\accessories").c_str());
    CreatePage();
    std::vector<std::string> items = Items(combo);
    EXPECT_EQ(items.size(), 5u) << Joined(items);
    EXPECT_EQ(ComboText(), "Programs\\Accessories");
}

TEST_F(MenuPageTest, TypedTextIsTakenRelativeToTheStartMenu)
{
    HWND page = CreatePage();
    sheet.Notify(PSN_SETACTIVE);
    auto buttons = sheet.Received(PSM_SETWIZBUTTONS);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0].lParam, PSWIZB_BACK | PSWIZB_NEXT);

    SetWindowTextA(combo, "Games\\Puzzle");
    CheckDlgButton(page, IDC_MENU_SHORTCUTS, BST_UNCHECKED);
    CheckDlgButton(page, IDC_DESKTOP_SHORTCUT, BST_CHECKED);
    LONG_PTR stored = -5;
    EXPECT_EQ(sheet.Notify(PSN_WIZNEXT, &stored), 0);
    EXPECT_EQ(stored, 0) << "the page never refuses Next";

    EXPECT_EQ(std::string(installState.menuDir), startMenu + "\\Games\\Puzzle");
    EXPECT_FALSE(installState.wantMenuShortcuts);
    EXPECT_TRUE(installState.wantDesktopShortcut);

    SetWindowTextA(combo, "");
    sheet.Notify(PSN_WIZNEXT);
    EXPECT_EQ(std::string(installState.menuDir), startMenu + "\\");
}

TEST_F(MenuPageTest, UnreadableStartupLeavesTheListEmpty)
{
    DeleteRegistryValue(HKEY_CURRENT_USER, kShellFolders, "Startup");
    CreatePage();
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(MenuPageTest, MenuFolderOutsideTheStartMenuHasNoRelativeName)
{
    lstrcpyA(installState.menuDir, "D:\\Elsewhere\\Menu\\Puzzle\\Deeper\\Folder");
    CreatePage();
    EXPECT_EQ(ComboText(), "");
    for (const std::string& item : Items(combo))
        EXPECT_EQ(item.find("Folder"), std::string::npos) << item;
}

TEST_F(MenuPageTest, FoldersTooDeepForAPathAreLeftOut)
{
    // Made through the wide calls' long-path form: the narrow calls cannot reach them.
    std::string fits(250 - startMenu.size() - 1, 'f');
    std::wstring base = L"\\\\?\\" + WideFromUtf8(startMenu + "\\" + fits);
    ASSERT_TRUE(CreateDirectoryW(base.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((base + L"\\toolongname").c_str(), nullptr));

    CreatePage();

    std::vector<std::string> items = Items(combo);
    bool listed = false;
    for (const std::string& item : items) {
        EXPECT_LE(startMenu.size() + 1 + item.size(), 259u) << item;
        EXPECT_EQ(item.find("\\t"), std::string::npos) << "a cut name: " << item;
        listed = listed || item == fits;
    }
    EXPECT_TRUE(listed) << "a folder that fits is listed";
    RemoveDirectoryW((base + L"\\toolongname").c_str());
    RemoveDirectoryW(base.c_str());
}

TEST_F(MenuPageTest, TypedTextIsLimitedToWhatFitsBehindTheStartMenu)
{
    HWND page = CreatePage();
    std::string longText(300, 'x');
    SendMessageA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(longText.c_str()));
    // WM_SETTEXT is not limited; Next must not build a cut folder from it.
    std::string before = installState.menuDir;
    sheet.Notify(PSN_WIZNEXT);
    EXPECT_EQ(std::string(installState.menuDir), before);
    EXPECT_EQ(SendMessageA(GetWindow(combo, GW_CHILD), EM_GETLIMITTEXT, 0, 0),
              static_cast<LRESULT>(259 - startMenu.size() - 1));
    (void)page;
}

}  // namespace
