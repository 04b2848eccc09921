// The window driver against windows of the test program itself, shown on a second thread as
// the program under test would show them: what the driver reads must be what was shown.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <set>

#include "support/end_to_end_test.h"
#include "language.h"

namespace {

struct BoxRequest {
    bool wide;
    std::string textUtf8, captionUtf8;
    UINT style;
    HWND owner;
    int result;
};

DWORD WINAPI ShowBox(void* parameter)
{
    BoxRequest* request = static_cast<BoxRequest*>(parameter);
    if (request->wide) {
        request->result = MessageBoxW(request->owner, WideFromUtf8(request->textUtf8).c_str(),
                                      WideFromUtf8(request->captionUtf8).c_str(), request->style);
    } else {
        request->result = MessageBoxA(request->owner, AnsiFromUtf8(request->textUtf8).c_str(),
                                      AnsiFromUtf8(request->captionUtf8).c_str(), request->style);
    }
    return 0;
}

// A text that the suite's ANSI code page can carry, so MessageBoxA can show it as well.
const char* LocalText()
{
    return InLanguage("Caf\xC3\xA9 \xE2\x80\x93 d\xC3\xA9j\xC3\xA0 vu\nsecond line",
                      "ゲームを削除します。\nよろしいですか？", "找不到設定檔或檔案已破損。\n第二行");
}

class LANGUAGE_SUITE(Driver) : public EndToEndTest {};

}  // namespace

LANGUAGE_TEST_F(Driver, ReadsWideAndAnsiBoxesAlikeAndPressesTheChosenButton)
{
    struct Row {
        bool wide;
        UINT style;
        int press;
        std::vector<int> buttons;
        bool icon;
    } rows[] = {
        {true, MB_YESNO | MB_ICONERROR, IDNO, {IDYES, IDNO}, true},
        {false, MB_YESNO | MB_ICONERROR, IDNO, {IDYES, IDNO}, true},
        {true, MB_OKCANCEL, IDCANCEL, {IDOK, IDCANCEL}, false},
        {false, MB_OKCANCEL, IDOK, {IDOK, IDCANCEL}, false},
        {false, MB_OK | MB_ICONINFORMATION, IDOK, {IDOK}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.wide ? "MessageBoxW" : "MessageBoxA") + " style " + std::to_string(row.style));
        BoxRequest request{row.wide, LocalText(), InLanguage("Caption \xC3\xA9", "ゲームの削除", "移除"), row.style,
                           nullptr, 0};
        HANDLE thread = CreateThread(nullptr, 0, ShowBox, &request, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        HWND box = WaitForMessageBox(GetCurrentProcessId());
        ASSERT_NE(nullptr, box);
        MessageBoxInfo info = ReadMessageBox(box);
        EXPECT_EQ(request.textUtf8, info.text);
        EXPECT_EQ(request.captionUtf8, info.caption);
        EXPECT_EQ(row.buttons, info.buttons);
        EXPECT_EQ(row.icon, info.hasIcon);
        EXPECT_EQ(nullptr, info.owner);
        EXPECT_TRUE(PressButton(box, row.press));
        EXPECT_TRUE(WaitGone(box));
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
        CloseHandle(thread);
        EXPECT_EQ(row.press, request.result);
    }
}

namespace {

// A dialog-class window with a few controls, run by its own thread's message loop.
enum { kEdit = 100, kCheck = 101, kCombo = 102, kDisabled = 103, kHidden = 104 };

struct TestDialog {
    HWND window = nullptr;
    HANDLE ready = nullptr;
};

DWORD WINAPI RunTestDialog(void* parameter)
{
    TestDialog* dialog = static_cast<TestDialog*>(parameter);
    HWND window = CreateWindowExW(0, L"#32770", L"Driver test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id, int y) {
        return CreateWindowExW(0, cls, text, WS_CHILD | style, 10, y, 200, 24, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    };
    child(L"Edit", L"", WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, kEdit, 10);
    child(L"Button", L"Check", WS_VISIBLE | BS_AUTOCHECKBOX, kCheck, 40);
    HWND combo = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_SORT, 10, 70, 200, 120,
                                 window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCombo)), GetModuleHandleW(nullptr),
                                 nullptr);
    for (const wchar_t* item : {L"Zeta", L"Alpha", L"スタートアップ"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    child(L"Button", L"Disabled", WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, kDisabled, 100);
    child(L"Static", L"Hidden", 0, kHidden, 130);
    dialog->window = window;
    SetEvent(dialog->ready);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

LANGUAGE_TEST_F(Driver, ReadsAndSetsControlsOfAnotherThread)
{
    TestDialog dialog;
    dialog.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, RunTestDialog, &dialog, 0, &threadId);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dialog.ready, 5000));
    HWND found = WaitForDialog(GetCurrentProcessId(), kDefaultDeadlineMs, "Driver test");
    ASSERT_EQ(dialog.window, found);
    EXPECT_EQ(found, WaitForDialogWithControl(GetCurrentProcessId(), kCombo));

    const std::string path = InLanguage("C:\\Program Files\\Caf\xC3\xA9\\", "C:\\ゲーム\\表示\\", "C:\\遊戲\\");
    EXPECT_TRUE(SetControlText(found, kEdit, path));
    EXPECT_EQ(path, ControlText(found, kEdit));

    EXPECT_FALSE(IsChecked(found, kCheck));
    EXPECT_TRUE(SetCheck(found, kCheck, true));
    EXPECT_TRUE(IsChecked(found, kCheck));
    EXPECT_TRUE(SetCheck(found, kCheck, false));
    EXPECT_FALSE(IsChecked(found, kCheck));

    EXPECT_EQ((std::vector<std::string>{"Alpha", "Zeta", "スタートアップ"}), ComboItems(found, kCombo));
    EXPECT_TRUE(SetControlText(found, kCombo, "Alpha\\Sub"));
    EXPECT_EQ("Alpha\\Sub", ControlText(found, kCombo));

    EXPECT_TRUE(ControlExists(found, kDisabled));
    EXPECT_TRUE(ControlVisible(found, kDisabled));
    EXPECT_FALSE(ControlEnabled(found, kDisabled));
    EXPECT_TRUE(ControlExists(found, kHidden));
    EXPECT_FALSE(ControlVisible(found, kHidden));
    EXPECT_EQ("Hidden", ControlText(found, kHidden));
    EXPECT_FALSE(ControlExists(found, 999));
    EXPECT_EQ("", ControlText(found, 999));

    // The thread's windows go with the thread.
    PostThreadMessageW(threadId, WM_QUIT, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
    EXPECT_TRUE(WaitGone(found));
    CloseHandle(thread);
    CloseHandle(dialog.ready);
}

LANGUAGE_TEST_F(Driver, SavesAScreenshotOfTheScreenAsABitmap)
{
    // A box on the screen, so the picture cannot be one flat colour.
    BoxRequest request{true, "Screenshot", "Screenshot", MB_OK, nullptr, 0};
    HANDLE thread = CreateThread(nullptr, 0, ShowBox, &request, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    HWND box = WaitForMessageBox(GetCurrentProcessId());
    ASSERT_NE(nullptr, box);
    // A window is visible a moment before it is painted: retry until the picture shows it.
    const std::string name = std::string("driver-selftest-") + InLanguage("en", "ja", "zh");
    std::string bytes;
    BITMAPINFOHEADER header = {};
    size_t colours = 0;
    WaitUntil([&] {
        if (!SaveScreenshot(name))
            return false;
        bytes = ReadFileBytes(ScreenshotPath(name));
        if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof header)
            return false;
        memcpy(&header, bytes.data() + sizeof(BITMAPFILEHEADER), sizeof header);
        std::set<std::string> seen;
        for (size_t at = sizeof(BITMAPFILEHEADER) + sizeof header; at + 3 <= bytes.size() && seen.size() < 3; at += 3)
            seen.insert(bytes.substr(at, 3));
        colours = seen.size();
        return colours >= 3;
    });
    PressButton(box, IDOK);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
    CloseHandle(thread);
    DeleteFileA(ScreenshotPath(name).c_str());

    EXPECT_EQ("BM", bytes.substr(0, 2));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), header.biWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), header.biHeight);
    EXPECT_EQ(24, header.biBitCount);
    EXPECT_GE(colours, 3u) << "the screenshot stays blank";
}

namespace {

// A two-page wizard built from in-memory templates, run by PropertySheetW on its own thread.
enum { kNameEdit = 1001, kOptionCheck = 1007 };
constexpr int kSheetNext = 0x3024, kSheetBack = 0x3023, kSheetFinish = 0x3025;

struct TemplateWriter {
    std::vector<WORD> words;
    void Word(WORD w) { words.push_back(w); }
    void Long(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
    void Text(const wchar_t* text)
    {
        for (; *text; ++text)
            Word(*text);
        Word(0);
    }
    void AlignToLong()
    {
        if (words.size() % 2)
            Word(0);
    }
    void Dialog(WORD items)
    {
        Long(WS_CHILD | WS_DISABLED | WS_CAPTION | DS_CONTROL), Long(0), Word(items);
        Word(0), Word(0), Word(220), Word(90);  // x, y, cx, cy
        Word(0), Word(0), Text(L"");             // no menu, standard class, no title
    }
    void Item(DWORD style, WORD classAtom, WORD id, WORD y, const wchar_t* text)
    {
        AlignToLong();
        Long(WS_CHILD | WS_VISIBLE | WS_TABSTOP | style), Long(0);
        Word(10), Word(y), Word(150), Word(12), Word(id);
        Word(0xFFFF), Word(classAtom), Text(text), Word(0);
    }
};

struct WizardRun {
    bool finished = false;
    bool optionAtFinish = false;
    std::wstring nameAtFinish;
};

INT_PTR CALLBACK DriverWizardPage(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
        return TRUE;
    }
    if (message != WM_NOTIFY)
        return FALSE;
    WizardRun* run = reinterpret_cast<WizardRun*>(GetWindowLongPtrW(page, GWLP_USERDATA));
    HWND sheet = GetParent(page);
    bool first = GetDlgItem(page, kNameEdit) != nullptr;
    switch (reinterpret_cast<NMHDR*>(lParam)->code) {
    case PSN_SETACTIVE:
        PostMessageW(sheet, PSM_SETWIZBUTTONS, 0, first ? PSWIZB_NEXT : PSWIZB_BACK | PSWIZB_FINISH);
        return TRUE;
    case PSN_WIZFINISH: {
        run->finished = true;
        run->optionAtFinish = IsDlgButtonChecked(page, kOptionCheck) == BST_CHECKED;
        HWND firstPage = PropSheet_IndexToHwnd(sheet, 0);
        wchar_t name[100] = {};
        GetDlgItemTextW(firstPage, kNameEdit, name, 100);
        run->nameAtFinish = name;
        return TRUE;
    }
    }
    return FALSE;
}

DWORD WINAPI RunDriverWizard(void* parameter)
{
    WizardRun* run = static_cast<WizardRun*>(parameter);
    TemplateWriter first, second;
    first.Dialog(1);
    first.Item(WS_BORDER | ES_AUTOHSCROLL, 0x0081, kNameEdit, 10, L"");
    second.Dialog(1);
    second.Item(BS_AUTOCHECKBOX, 0x0080, kOptionCheck, 10, L"Option");
    PROPSHEETPAGEW pages[2] = {};
    TemplateWriter* templates[2] = {&first, &second};
    HPROPSHEETPAGE handles[2];
    for (int i = 0; i < 2; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_DLGINDIRECT;
        pages[i].pResource = reinterpret_cast<DLGTEMPLATE*>(templates[i]->words.data());
        pages[i].pfnDlgProc = DriverWizardPage;
        pages[i].lParam = reinterpret_cast<LPARAM>(run);
        handles[i] = CreatePropertySheetPageW(&pages[i]);
    }
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD;
    header.pszCaption = L"Driver wizard";
    header.nPages = 2;
    header.phpage = handles;
    PropertySheetW(&header);
    return 0;
}

}  // namespace

LANGUAGE_TEST_F(Driver, DrivesAWizardPageByPage)
{
    WizardRun run;
    HANDLE thread = CreateThread(nullptr, 0, RunDriverWizard, &run, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    HWND sheet = WaitForDialogWithControl(GetCurrentProcessId(), kSheetNext);
    ASSERT_NE(nullptr, sheet);

    HWND first = WaitForPageWith(sheet, kNameEdit);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, CurrentPage(sheet));
    EXPECT_TRUE(WaitForWizardButton(sheet, kSheetNext));
    EXPECT_TRUE(SetControlText(first, kNameEdit, "名前 Café"));
    EXPECT_TRUE(PressWizardButton(sheet, PSBTN_NEXT));

    HWND second = WaitForPageWith(sheet, kOptionCheck);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(WaitForWizardButton(sheet, kSheetFinish));
    EXPECT_TRUE(PressWizardButton(sheet, PSBTN_BACK));
    EXPECT_EQ(first, WaitForPageWith(sheet, kNameEdit));
    EXPECT_TRUE(PressWizardButton(sheet, PSBTN_NEXT));
    ASSERT_EQ(second, WaitForPageWith(sheet, kOptionCheck));
    EXPECT_TRUE(WaitForWizardButton(sheet, kSheetBack));
    EXPECT_TRUE(SetCheck(second, kOptionCheck, true));
    EXPECT_TRUE(WaitForWizardButton(sheet, kSheetFinish));
    EXPECT_TRUE(PressWizardButton(sheet, PSBTN_FINISH));

    EXPECT_TRUE(WaitGone(sheet));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
    CloseHandle(thread);
    EXPECT_TRUE(run.finished);
    EXPECT_TRUE(run.optionAtFinish);
    EXPECT_EQ("名前 Café", Utf8FromWide(run.nameAtFinish));
}
