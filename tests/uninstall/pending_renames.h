// The platform's list of delayed deletions: HKLM "...\Session Manager" value
// "PendingFileRenameOperations" (REG_MULTI_SZ pairs of "\??\source" and target, an empty target
// meaning deletion). Read with the wide functions so that the pairs come back unconverted.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/test_support.h"

constexpr const wchar_t kSessionManagerKey[] = L"System\\CurrentControlSet\\Control\\Session Manager";
constexpr const wchar_t kPendingRenamesValue[] = L"PendingFileRenameOperations";

struct PendingRenames {
    bool exists = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};

inline PendingRenames ReadPendingRenames()
{
    PendingRenames value;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExW(key, kPendingRenamesValue, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.exists = RegQueryValueExW(key, kPendingRenamesValue, nullptr, &value.type,
                                        size ? value.data.data() : nullptr, &size) == ERROR_SUCCESS;
        value.data.resize(size);
    }
    RegCloseKey(key);
    return value;
}

// The strings of the list, in order (sources and targets alternating).
inline std::vector<std::wstring> PendingRenameStrings()
{
    PendingRenames value = ReadPendingRenames();
    std::vector<std::wstring> strings;
    const wchar_t* text = reinterpret_cast<const wchar_t*>(value.data.data());
    size_t count = value.data.size() / sizeof(wchar_t);
    for (size_t start = 0; start < count;) {
        size_t end = start;
        while (end < count && text[end] != L'\0')
            ++end;
        strings.push_back(std::wstring(text + start, text + end));
        start = end + 1;
    }
    return strings;
}

// True when path (ANSI, compared without regard to case) is listed for deletion.
inline bool PendingDeletionOf(const std::string& path)
{
    std::wstring wanted = L"\\??\\" + WideFromCodePage(path, CP_ACP);
    std::vector<std::wstring> strings = PendingRenameStrings();
    for (size_t i = 0; i + 1 < strings.size(); i += 2) {
        if (lstrcmpiW(strings[i].c_str(), wanted.c_str()) == 0 && strings[i + 1].empty())
            return true;
    }
    return false;
}

// Puts the list back as it was (or removes it) when the scope ends.
class PendingRenamesGuard {
public:
    PendingRenamesGuard() : saved(ReadPendingRenames()) {}
    ~PendingRenamesGuard()
    {
        HKEY key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        if (saved.exists)
            RegSetValueExW(key, kPendingRenamesValue, 0, saved.type, saved.data.data(),
                           static_cast<DWORD>(saved.data.size()));
        else
            RegDeleteValueW(key, kPendingRenamesValue);
        RegCloseKey(key);
    }
    PendingRenamesGuard(const PendingRenamesGuard&) = delete;
    PendingRenamesGuard& operator=(const PendingRenamesGuard&) = delete;

private:
    PendingRenames saved;
};
