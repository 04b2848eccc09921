// Helpers of the copy-page and program-menu-page tests: a stand-in for the wizard window that
// records what the pages send it, a message pump with a deadline, and registry clean-up.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "setup/install_state.h"
#include "support/test_support.h"

// A top-level window standing in for the property sheet: it parents a page created from its
// template and records every message a page sends or posts to it.
class SheetRecorder {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    SheetRecorder()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TinySetupTestSheet";
        RegisterClassA(&windowClass);  // fails harmlessly when already registered
        window = CreateWindowExA(0, "TinySetupTestSheet", "sheet", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~SheetRecorder()
    {
        if (page != nullptr)
            DestroyWindow(page);
        DestroyWindow(window);
    }
    SheetRecorder(const SheetRecorder&) = delete;
    SheetRecorder& operator=(const SheetRecorder&) = delete;

    // Creates the page from the test program's own copy of the dialog template, handing it
    // pageData as the sheet hands a page its record's lParam.
    HWND CreatePage(int templateId, DLGPROC procedure, LPARAM pageData = 0)
    {
        PROPSHEETPAGEA record = {};
        record.lParam = pageData;
        page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), window, procedure,
                                  reinterpret_cast<LPARAM>(&record));
        return page;
    }

    // Sends a property-sheet notification to the page as the sheet would; returns the
    // procedure's result and the stored message result.
    LRESULT Notify(UINT code, LONG_PTR* storedResult = nullptr)
    {
        NMHDR header = {};
        header.hwndFrom = window;
        header.code = code;
        SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
        LRESULT result = SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        if (storedResult != nullptr)
            *storedResult = GetWindowLongPtrA(page, DWLP_MSGRESULT);
        return result;
    }

    std::vector<Message> Received(UINT message) const
    {
        std::vector<Message> found;
        for (const Message& m : messages) {
            if (m.message == message)
                found.push_back(m);
        }
        return found;
    }

    HWND window = nullptr;
    HWND page = nullptr;
    std::vector<Message> messages;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<SheetRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr && message >= WM_USER)
            self->messages.push_back({message, wParam, lParam});
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

// Runs the thread's message loop until condition holds or the deadline passes.
template <typename Condition> bool PumpUntil(Condition condition, DWORD deadlineMs = 10000)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > deadlineMs)
            return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
    return true;
}

// Puts the application key back as it was (values and, when it was absent, the keys).
class ApplicationKeyGuard {
public:
    ApplicationKeyGuard()
        : hadParent_(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Tamberlyn")),
          hadKey_(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Tamberlyn\\tq")),
          execPath_(HKEY_CURRENT_USER, "Software\\Tamberlyn\\tq", "ExecPath"),
          first_(HKEY_CURRENT_USER, "Software\\Tamberlyn\\tq", "first")
    {
    }
    ~ApplicationKeyGuard()
    {
        if (!hadKey_)
            DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Tamberlyn\\tq");
        if (!hadParent_)
            DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Tamberlyn");
    }

private:
    bool hadParent_, hadKey_;
    RegistryValueGuard execPath_, first_;
};

// Removes an uninstall entry of the test's own before and after the test.
class UninstallEntryGuard {
public:
    explicit UninstallEntryGuard(const std::string& name)
        : path_("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name)
    {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, path_.c_str());
    }
    ~UninstallEntryGuard() { DeleteRegistryTree(HKEY_LOCAL_MACHINE, path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

inline void SetFileTimeDaysAgo(const std::string& path, int days)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value;
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    value.QuadPart -= static_cast<ULONGLONG>(days) * 24 * 3600 * 10000000ULL;
    FILETIME stamp;
    stamp.dwLowDateTime = value.LowPart;
    stamp.dwHighDateTime = value.HighPart;
    SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);
}

inline FILETIME LastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}
