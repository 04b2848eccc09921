// Window driver: starts the built program, finds its dialogs and message boxes, reads and
// sets their controls and presses their buttons from the test's own process.
#include "window_driver.h"

#include <commctrl.h>
#include <prsht.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdio.h>
#include <string.h>

#include "test_support.h"

namespace {

// How long a cross-process message may take before the driver gives up on it: the program's
// thread may be busy with a step, but a live program answers well within this.
constexpr UINT kSendTimeoutMs = 5000;

constexpr int kMessageBoxTextId = 65535;
constexpr int kMessageBoxIconId = 1088;

// Every process the driver started in this test program, so leftovers can be ended.
std::vector<DWORD>& StartedProcesses()
{
    static std::vector<DWORD> started;
    return started;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct DialogSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM parameter)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->processId != 0 && owner != search->processId)
        return TRUE;
    if (!IsWindowVisible(window) || ClassOf(window) != "#32770")
        return TRUE;
    search->found.push_back(window);
    return TRUE;
}

bool IsMessageBox(HWND window)
{
    HWND text = GetDlgItem(window, kMessageBoxTextId);
    return text != nullptr && ClassOf(text) == "Static";
}

// The text of a window of any process, through WM_GETTEXT (which the system carries across
// processes); a window whose thread does not answer in time reads through GetWindowTextW,
// which sees the caption the window manager keeps.
std::string TextOf(HWND window)
{
    if (window == nullptr)
        return std::string();
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) {
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        if (SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                                kSendTimeoutMs, &copied)) {
            text.resize(std::min<size_t>(copied, length));
            return Utf8FromWide(text);
        }
    }
    WCHAR buffer[1024] = {};
    GetWindowTextW(window, buffer, 1024);
    return Utf8FromWide(buffer);
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

void EndProcess(HANDLE process)
{
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process, 255);
        WaitForSingleObject(process, 5000);
    }
}

std::string ScreenshotFileName(const std::string& name)
{
    std::string file;
    for (char c : name)
        file += (strchr("\\/:*?\"<>|", c) != nullptr || c < 32) ? '_' : c;
    return file;
}

bool WriteBitmap(const std::string& path, HBITMAP bitmap, int width, int height, HDC dc)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as a BMP file stores its rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    DWORD stride = ((width * 3) + 3) & ~3u;
    std::string pixels(stride * height, '\0');
    if (!GetDIBits(dc, bitmap, 0, height, &pixels[0], reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS))
        return false;
    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = fileHeader.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes += pixels;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

}  // namespace

bool ProgramRun::Start(const std::string& exePath, const std::string& arguments, const std::string& workingDir)
{
    Kill();
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::string folder = workingDir;
    if (folder.empty()) {
        size_t end = exePath.find_last_of("\\/");
        if (end != std::string::npos)
            folder = exePath.substr(0, end + 1);
    }
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exePath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process = info.hProcess;
    processId = info.dwProcessId;
    StartedProcesses().push_back(processId);
    // The program's first window is created after its start-up; waiting for input idle keeps
    // the first search from racing the process creation itself.
    WaitForInputIdle(process, 2000);
    return true;
}

ProgramRun::~ProgramRun()
{
    Kill();
}

int ProgramRun::WaitExit(DWORD deadlineMs)
{
    if (process == nullptr)
        return -1;
    if (WaitForSingleObject(process, deadlineMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
}

bool ProgramRun::Running() const
{
    return process != nullptr && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

void ProgramRun::Kill()
{
    if (process == nullptr)
        return;
    EndProcess(process);
    CloseHandle(process);
    process = nullptr;
}

void KillStartedProcesses()
{
    std::vector<DWORD> doomed = StartedProcesses();
    StartedProcesses().clear();
    // Add every descendant (the uninstall request starts a worker copy, which may start
    // more), repeating until no new process turns up.
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        std::vector<PROCESSENTRY32> all;
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
            all.push_back(entry);
        CloseHandle(snapshot);
        for (bool grew = true; grew;) {
            grew = false;
            for (const PROCESSENTRY32& process : all) {
                bool parentDoomed = std::find(doomed.begin(), doomed.end(), process.th32ParentProcessID) != doomed.end();
                bool known = std::find(doomed.begin(), doomed.end(), process.th32ProcessID) != doomed.end();
                if (parentDoomed && !known && process.th32ProcessID != GetCurrentProcessId()) {
                    doomed.push_back(process.th32ProcessID);
                    grew = true;
                }
            }
        }
    }
    for (DWORD id : doomed) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id);
        if (process == nullptr)
            continue;
        EndProcess(process);
        CloseHandle(process);
    }
}

std::vector<HWND> DialogsOf(DWORD processId)
{
    DialogSearch search{processId, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(DWORD processId, DWORD deadlineMs, const std::string& titleUtf8)
{
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : DialogsOf(processId)) {
                if (titleUtf8.empty() || WindowTitle(window) == titleUtf8) {
                    result = window;
                    return true;
                }
            }
            return false;
        },
        deadlineMs);
    return result;
}

HWND WaitForMessageBox(DWORD processId, DWORD deadlineMs)
{
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : DialogsOf(processId)) {
                if (IsMessageBox(window)) {
                    result = window;
                    return true;
                }
            }
            return false;
        },
        deadlineMs);
    return result;
}

HWND WaitForDialogWithControl(DWORD processId, int controlId, DWORD deadlineMs)
{
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : DialogsOf(processId)) {
                if (GetDlgItem(window, controlId) != nullptr) {
                    result = window;
                    return true;
                }
            }
            return false;
        },
        deadlineMs);
    return result;
}

bool NoDialogAppears(DWORD processId, DWORD waitMs)
{
    return WaitForDialog(processId, waitMs) == nullptr;
}

bool WaitGone(HWND window, DWORD deadlineMs)
{
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, deadlineMs);
}

MessageBoxInfo ReadMessageBox(HWND box)
{
    MessageBoxInfo info;
    if (box == nullptr)
        return info;
    // The box's static keeps its text with the window manager, so GetWindowTextW reads it
    // whether the program showed it with MessageBoxA or MessageBoxW.
    WCHAR text[2048] = {};
    GetWindowTextW(GetDlgItem(box, kMessageBoxTextId), text, 2048);
    info.text = Utf8FromWide(text);
    WCHAR caption[512] = {};
    GetWindowTextW(box, caption, 512);
    info.caption = Utf8FromWide(caption);
    static const int kButtons[] = {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDCLOSE, IDHELP, IDTRYAGAIN, IDCONTINUE};
    for (int id : kButtons) {
        HWND button = GetDlgItem(box, id);
        if (button != nullptr && IsWindowVisible(button))
            info.buttons.push_back(id);
    }
    // Wine keeps the icon static of a box without icon, only empty and of no size.
    HWND icon = GetDlgItem(box, kMessageBoxIconId);
    info.hasIcon = icon != nullptr && IsWindowVisible(icon) && Send(icon, STM_GETICON, 0, 0) != 0;
    info.owner = GetWindow(box, GW_OWNER);
    return info;
}

MessageBoxInfo AnswerMessageBox(DWORD processId, int button, DWORD deadlineMs)
{
    HWND box = WaitForMessageBox(processId, deadlineMs);
    if (box == nullptr)
        return MessageBoxInfo();
    MessageBoxInfo info = ReadMessageBox(box);
    PressButton(box, button);
    WaitGone(box, deadlineMs);
    return info;
}

std::string ControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control == nullptr ? std::string() : TextOf(control);
}

bool SetControlText(HWND dialog, int id, const std::string& textUtf8)
{
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr)
        return false;
    std::wstring text = WideFromUtf8(textUtf8);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &result))
        return false;
    // An edit tells its dialog of WM_SETTEXT itself (EN_CHANGE); a combo box does not, though
    // a user's typing in its edit field would.
    if (ClassOf(control) == "ComboBox")
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(control));
    return ControlText(dialog, id) == textUtf8;
}

bool ControlVisible(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr && IsWindowVisible(control);
}

bool ControlEnabled(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr && IsWindowEnabled(control);
}

bool ControlExists(HWND dialog, int id)
{
    return GetDlgItem(dialog, id) != nullptr;
}

bool PressButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr)
        return false;
    // Posted: the click may open a modal box whose loop would hold a sent message for good.
    return PostMessageW(button, BM_CLICK, 0, 0) != 0;
}

bool PostCommand(HWND dialog, int id)
{
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(dialog, id))) != 0;
}

bool SetCheck(HWND dialog, int id, bool checked)
{
    if (!ControlExists(dialog, id))
        return false;
    if (IsChecked(dialog, id) == checked)
        return true;
    // A click, as the user makes it, so the dialog hears of the change.
    if (!PressButton(dialog, id))
        return false;
    return WaitUntil([&] { return IsChecked(dialog, id) == checked; }, 3000);
}

bool IsChecked(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control != nullptr && Send(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::string> ComboItems(HWND dialog, int id)
{
    std::vector<std::string> items;
    HWND combo = GetDlgItem(dialog, id);
    if (combo == nullptr)
        return items;
    LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = Send(combo, CB_GETLBTEXTLEN, i, 0);
        if (length < 0)
            continue;
        std::wstring text(length + 1, L'\0');
        LRESULT copied = Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied > 0 ? copied : 0);
        items.push_back(Utf8FromWide(text));
    }
    return items;
}

std::string WindowTitle(HWND window)
{
    WCHAR title[512] = {};
    GetWindowTextW(window, title, 512);
    return Utf8FromWide(title);
}

HWND CurrentPage(HWND sheet)
{
    return reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

bool PressWizardButton(HWND sheet, int psbtn)
{
    return PostMessageW(sheet, PSM_PRESSBUTTON, psbtn, 0) != 0;
}

HWND WaitForPageWith(HWND sheet, int controlId, DWORD deadlineMs)
{
    HWND result = nullptr;
    WaitUntil(
        [&] {
            HWND page = CurrentPage(sheet);
            if (page != nullptr && IsWindowVisible(page) && GetDlgItem(page, controlId) != nullptr) {
                result = page;
                return true;
            }
            return false;
        },
        deadlineMs);
    return result;
}

bool WaitForWizardButton(HWND sheet, int buttonId, DWORD deadlineMs)
{
    return WaitUntil([&] { return ControlVisible(sheet, buttonId) && ControlEnabled(sheet, buttonId); }, deadlineMs);
}

std::string ScreenshotPath(const std::string& name)
{
    return std::string(BUILD_ROOT "\\screenshots\\") + ScreenshotFileName(name) + ".bmp";
}

bool SaveScreenshot(const std::string& name)
{
    CreateDirectoryA(BUILD_ROOT "\\screenshots", nullptr);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return false;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != 0;
    SelectObject(memory, old);
    ok = ok && WriteBitmap(ScreenshotPath(name), bitmap, width, height, memory);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

void ScreenshotIfFailed()
{
    if (!::testing::Test::HasFailure())
        return;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test == nullptr ? "unknown" : std::string(test->test_suite_name()) + "." + test->name();
    if (SaveScreenshot(name))
        printf("Screenshot of the failure: %s\n", ScreenshotPath(name).c_str());
}
