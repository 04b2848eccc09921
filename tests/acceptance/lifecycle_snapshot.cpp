// File-tree and registry snapshots for the life-cycle tests, and their comparison.
#include "lifecycle_snapshot.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>

#include "base/protected_folders.h"
#include "support/test_support.h"

namespace {

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool StartsWithFolded(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && Lower(text.substr(0, prefix.size())) == Lower(prefix);
}

bool IsExcludedPath(const std::string& path, const std::vector<std::string>& excluded)
{
    for (const std::string& prefix : excluded) {
        if (StartsWithFolded(path, prefix))
            return true;
    }
    return false;
}

// A key is excluded when it is one of the excluded keys or lies below one.
bool IsExcludedKey(const std::string& key, const std::vector<std::string>& excluded)
{
    for (const std::string& prefix : excluded) {
        if (StartsWithFolded(key, prefix) && (key.size() == prefix.size() || key[prefix.size()] == '\\'))
            return true;
    }
    return false;
}

// Wide listing, so that any name the system holds is seen, whatever this program's code page.
void ListFolder(const std::wstring& folder, const std::vector<std::string>& excluded, std::vector<std::string>* lines)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring path = folder + name;
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        std::string text = Utf8FromWide(path) + (isFolder ? "\\" : "");
        if (IsExcludedPath(text, excluded))
            continue;
        if (isFolder) {
            lines->push_back(text);
            // A link out of the prefix (Wine links the Templates folder to the Linux home
            // folder) is listed but not entered.
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                continue;
            // A folder's own write time follows its contents; the contents are listed instead.
            ListFolder(path + L"\\", excluded, lines);
        } else {
            ULONGLONG size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            ULONGLONG written = (static_cast<ULONGLONG>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                                found.ftLastWriteTime.dwLowDateTime;
            char details[64];
            snprintf(details, sizeof details, " %llu %llu", size, written);
            lines->push_back(text + details);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// Runs regedit.exe to export one tree; true when the file was written.
bool ExportTree(const std::string& tree, const std::string& file)
{
    DeleteFileA(file.c_str());
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string line = std::string("\"") + windows + "\\regedit.exe\" /E \"" + file + "\" \"" + tree + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended && FileExists(file);
}

std::wstring WideFileText(const std::string& bytes)
{
    size_t start = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                           static_cast<unsigned char>(bytes[1]) == 0xFE
                       ? 2
                       : 0;
    std::wstring text((bytes.size() - start) / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[start + 2 * i]) |
                                       (static_cast<unsigned char>(bytes[start + 2 * i + 1]) << 8));
    return text;
}

}  // namespace

Snapshot SnapshotFiles(const std::string& root, const std::vector<std::string>& excluded)
{
    Snapshot snapshot;
    // Without this the 32-bit test would see syswow64 twice, once under the name system32.
    PVOID redirection = nullptr;
    BOOL disabled = Wow64DisableWow64FsRedirection(&redirection);
    ListFolder(WideFromUtf8(root), excluded, &snapshot.lines);
    if (disabled)
        Wow64RevertWow64FsRedirection(redirection);
    if (snapshot.lines.empty())
        snapshot.failure = "nothing found below " + root;
    std::sort(snapshot.lines.begin(), snapshot.lines.end());
    return snapshot;
}

std::vector<std::string> ParseRegistryExport(const std::wstring& text, const std::vector<std::string>& excludedKeys)
{
    std::vector<std::string> lines;
    std::string key;
    bool keyExcluded = true;
    std::string pending;  // a value line continued with "\" at its end
    size_t position = 0;
    while (position <= text.size()) {
        size_t end = text.find(L'\n', position);
        if (end == std::wstring::npos)
            end = text.size();
        std::string line = Utf8FromWide(text.substr(position, end - position));
        position = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!pending.empty()) {
            size_t first = line.find_first_not_of(' ');
            line = pending + (first == std::string::npos ? "" : line.substr(first));
            pending.clear();
        }
        if (!line.empty() && line.back() == '\\' && line[0] != '[') {
            pending = line.substr(0, line.size() - 1);
            continue;
        }
        if (line.empty() || line[0] == ';' || line.compare(0, 16, "Windows Registry") == 0 ||
            line.compare(0, 6, "REGEDI") == 0)
            continue;
        if (line[0] == '[' && line.back() == ']') {
            key = line.substr(1, line.size() - 2);
            keyExcluded = IsExcludedKey(key, excludedKeys);
            if (!keyExcluded)
                lines.push_back("[" + key + "]");
            continue;
        }
        if (!keyExcluded)
            lines.push_back("[" + key + "] " + line);
    }
    return lines;
}

Snapshot SnapshotRegistry(const std::vector<std::string>& trees, const std::vector<std::string>& excludedKeys,
                          const std::string& scratchFolder)
{
    // Wine writes the defaults of some known folders ("Users", "ProgramFilesCommonX64") into
    // the registry the first time the shell is asked for them, as the program's check of
    // protected folders asks. Asked here first, those writes are Wine's, before any snapshot.
    IsProtectedFolder("C:\\no such folder");
    Snapshot snapshot;
    std::string file = scratchFolder + "export.reg";
    for (const std::string& tree : trees) {
        if (!ExportTree(tree, file)) {
            snapshot.failure += "regedit did not export " + tree + "; ";
            continue;
        }
        std::vector<std::string> lines = ParseRegistryExport(WideFileText(ReadFileBytes(file)), excludedKeys);
        if (lines.empty())
            snapshot.failure += "the export of " + tree + " holds nothing; ";
        snapshot.lines.insert(snapshot.lines.end(), lines.begin(), lines.end());
    }
    DeleteFileA(file.c_str());
    std::sort(snapshot.lines.begin(), snapshot.lines.end());
    return snapshot;
}

std::vector<std::string> SnapshotDifferences(const Snapshot& before, const Snapshot& after)
{
    std::vector<std::string> onlyBefore, onlyAfter;
    std::set_difference(before.lines.begin(), before.lines.end(), after.lines.begin(), after.lines.end(),
                        std::back_inserter(onlyBefore));
    std::set_difference(after.lines.begin(), after.lines.end(), before.lines.begin(), before.lines.end(),
                        std::back_inserter(onlyAfter));
    std::vector<std::string> differences;
    for (const std::string& line : onlyBefore)
        differences.push_back("- " + line);
    for (const std::string& line : onlyAfter)
        differences.push_back("+ " + line);
    return differences;
}

std::string DescribeDifferences(const std::vector<std::string>& differences, size_t limit)
{
    std::string text;
    for (size_t i = 0; i < differences.size() && i < limit; ++i)
        text += differences[i] + "\n";
    if (differences.size() > limit)
        text += "... and " + std::to_string(differences.size() - limit) + " more\n";
    return text;
}

std::string ShellFolder(const char* name)
{
    return ReadRegistryValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                             name)
        .text();
}

std::string TempPath()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

std::string TemplatesFolder()
{
    char folder[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_TEMPLATES, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return "C:\\users\\*\\Templates\\";  // matches nothing: the listing then shows it
    return std::string(folder) + "\\";
}
