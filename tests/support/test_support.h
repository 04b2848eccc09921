// Test helpers shared by every suite: a temporary folder of the test's own on C:, text files,
// registry values put back after the test, and a recorder for the program's message boxes.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "setup/engine_report.h"
#include "setup/package.h"

// The package the unit tests describe, handed to the engine's calls; each fixture starts it
// empty and fills what its test needs.
inline Package testPackage;

// The report of the windows, unowned: the engine's questions and failures in message boxes,
// which a MessageBoxRecorder sees.
inline EngineReport& Boxes()
{
    static BoxReport report(nullptr);
    return report;
}

// A fresh, empty folder C:\tinysetup-tests\<name>\ made on construction and removed with
// everything in it on destruction. path() ends with a separator.
class TempFolder {
public:
    explicit TempFolder(const char* name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + relative; }

private:
    std::string path_;
};

// Deletes a folder and everything below it (read-only files included); true when it is gone.
// Refuses (false) anything but a folder on C: at least two levels deep (C:\a\b).
bool RemoveTree(const std::string& path);

// Writes bytes exactly as given (no conversion); creates missing parent folders.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// The system folder as this (32-bit) process sees it, and the program a process runs.
std::string SystemFolder();
std::string ImageOfProcess(DWORD processId);
bool FolderExists(const std::string& path);
// Copies the built setup.exe (SETUP_EXE_PATH) to destination, replacing it.
bool CopyProgram(const std::string& destination);

// UTF-8 <-> active code page / UTF-16, for comparing texts with UTF-8 literals in tests.
std::string Utf8FromWide(const std::wstring& text);
std::wstring WideFromUtf8(const std::string& text);
std::string AnsiFromUtf8(const std::string& text, UINT codePage = CP_ACP);
std::string Utf8FromAnsi(const std::string& text, UINT codePage = CP_ACP);
std::wstring WideFromCodePage(const std::string& text, UINT codePage);
std::string CodePageFromWide(const std::wstring& text, UINT codePage);

// Remembers a registry value (or its absence) and puts it back on destruction.
class RegistryValueGuard {
public:
    RegistryValueGuard(HKEY root, const char* subKey, const char* valueName);
    ~RegistryValueGuard();
    RegistryValueGuard(const RegistryValueGuard&) = delete;
    RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;

private:
    HKEY root_;
    std::string subKey_, valueName_;
    bool existed_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

// Registry helpers that report what is stored, type and length included.
bool SetRegistryString(HKEY root, const char* subKey, const char* name, const std::string& value);
bool DeleteRegistryValue(HKEY root, const char* subKey, const char* name);
bool DeleteRegistryTree(HKEY root, const char* subKey);  // test-side, not the product's
bool RegistryKeyExists(HKEY root, const char* subKey);
struct RegistryValue {
    bool exists = false;
    DWORD type = 0;
    std::vector<BYTE> data;  // exactly the stored bytes
    std::string text() const;  // data up to the first NUL
};
RegistryValue ReadRegistryValue(HKEY root, const char* subKey, const char* name);

// Records every message box the program raises through its message-box seam, answering
// with a chosen button; uninstalls itself on destruction.
struct RecordedBox {
    HWND owner;
    std::string text;     // as the program passed it (in its code page)
    std::string caption;  // empty for no caption
    bool hasCaption;
    UINT style;
    UINT codePage;
};
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = IDOK);
    ~MessageBoxRecorder();
    void setAnswer(int answer);
    std::vector<RecordedBox> boxes;
};
