// The window driver against windows of the test program itself, shown on a second thread as
// the program under test would show them: what the driver reads must be what was shown.
#include <gtest/gtest.h>

#include <windows.h>

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
