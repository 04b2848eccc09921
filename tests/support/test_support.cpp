// Test helpers shared by every suite: temporary folders on C:, files, text conversions,
// registry values put back after a test, and the message-box recorder.
#include "test_support.h"

#include <tlhelp32.h>

#include <string.h>

namespace {

const char kTestRoot[] = "C:\\tinysetup-tests\\";

// The place of the last "\" or "/" that is a character of its own, not the second byte of a
// double-byte character (as in "\x95\x5c", a kanji of code page 932); npos when there is none.
size_t LastSeparator(const std::string& path)
{
    size_t found = std::string::npos;
    for (const char* p = path.c_str(); *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/')
            found = static_cast<size_t>(p - path.c_str());
    }
    return found;
}

std::string ParentOf(const std::string& path)
{
    size_t end = LastSeparator(path);
    return end == std::string::npos ? std::string() : path.substr(0, end);
}

void MakeFolders(const std::string& folder)
{
    if (folder.empty() || FolderExists(folder))
        return;
    std::string parent = ParentOf(folder);
    // Stop at a drive root ("C:") or a name without a parent.
    if (parent.size() > 2)
        MakeFolders(parent);
    CreateDirectoryA(folder.c_str(), nullptr);
}

bool RemoveTreeOnce(const std::string& folder)
{
    std::string pattern = folder + "\\*";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
                continue;
            std::string child = folder + "\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTreeOnce(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
    return GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

MessageBoxRecorder* activeRecorder = nullptr;
int activeAnswer = IDOK;

std::string CopyOf(const char* text)
{
    return text == nullptr ? std::string() : std::string(text);
}

int RecordBox(const MessageBoxRequest& request)
{
    if (activeRecorder == nullptr)
        return IDOK;
    RecordedBox box;
    box.owner = request.owner;
    box.text = CopyOf(request.text);
    box.caption = CopyOf(request.caption);
    box.hasCaption = request.caption != nullptr;
    box.style = request.style;
    box.codePage = request.codePage;
    activeRecorder->boxes.push_back(box);
    return activeAnswer;
}

}  // namespace

TempFolder::TempFolder(const char* name)
{
    std::string folder = std::string(kTestRoot) + name;
    RemoveTree(folder);
    MakeFolders(folder);
    path_ = folder + "\\";
}

TempFolder::~TempFolder()
{
    RemoveTree(path_);
}

bool RemoveTree(const std::string& path)
{
    std::string folder = path;
    while (folder.size() > 3 && LastSeparator(folder) == folder.size() - 1)
        folder.pop_back();
    // Only folders on C: at least two levels deep: a wrong argument must never empty a
    // drive, a top folder of the prefix or the Linux file system on Z:.
    if (_strnicmp(folder.c_str(), "C:\\", 3) != 0 || folder.find_first_of("\\/", 3) == std::string::npos ||
        folder.find("..") != std::string::npos)
        return false;
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true;
    // A program that has just ended may still hold a file for a moment.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (RemoveTreeOnce(folder))
            return true;
        Sleep(40);
    }
    return false;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    MakeFolders(ParentOf(path));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyProgram(const std::string& destination)
{
    MakeFolders(ParentOf(destination));
    return CopyFileA(SETUP_EXE_PATH, destination.c_str(), FALSE) != 0;
}

std::string Utf8FromWide(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring WideFromCodePage(const std::string& text, UINT codePage)
{
    if (text.empty())
        return std::wstring();
    int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

std::string CodePageFromWide(const std::wstring& text, UINT codePage)
{
    if (text.empty())
        return std::string();
    int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring WideFromUtf8(const std::string& text)
{
    return WideFromCodePage(text, CP_UTF8);
}

std::string AnsiFromUtf8(const std::string& text, UINT codePage)
{
    return CodePageFromWide(WideFromUtf8(text), codePage);
}

std::string Utf8FromAnsi(const std::string& text, UINT codePage)
{
    return Utf8FromWide(WideFromCodePage(text, codePage));
}

RegistryValueGuard::RegistryValueGuard(HKEY root, const char* subKey, const char* valueName)
    : root_(root), subKey_(subKey), valueName_(valueName)
{
    RegistryValue value = ReadRegistryValue(root, subKey, valueName);
    existed_ = value.exists;
    type_ = value.type;
    data_ = value.data;
}

RegistryValueGuard::~RegistryValueGuard()
{
    if (!existed_) {
        DeleteRegistryValue(root_, subKey_.c_str(), valueName_.c_str());
        return;
    }
    HKEY key;
    if (RegCreateKeyExA(root_, subKey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, valueName_.c_str(), 0, type_, data_.empty() ? nullptr : data_.data(),
                   static_cast<DWORD>(data_.size()));
    RegCloseKey(key);
}

bool SetRegistryString(HKEY root, const char* subKey, const char* name, const std::string& value)
{
    HKEY key;
    if (RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool DeleteRegistryValue(HKEY root, const char* subKey, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return true;
    LONG result = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool DeleteRegistryTree(HKEY root, const char* subKey)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return !RegistryKeyExists(root, subKey);
    // RegDeleteKeyA refuses a key that still has sub keys: empty it from the bottom up.
    char child[256];
    while (RegEnumKeyA(key, 0, child, sizeof child) == ERROR_SUCCESS) {
        std::string path = std::string(subKey) + "\\" + child;
        if (!DeleteRegistryTree(root, path.c_str()))
            break;
    }
    RegCloseKey(key);
    RegDeleteKeyA(root, subKey);
    return !RegistryKeyExists(root, subKey);
}

bool RegistryKeyExists(HKEY root, const char* subKey)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string RegistryValue::text() const
{
    std::string out(data.begin(), data.end());
    size_t end = out.find('\0');
    return end == std::string::npos ? out : out.substr(0, end);
}

RegistryValue ReadRegistryValue(HKEY root, const char* subKey, const char* name)
{
    RegistryValue value;
    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (RegQueryValueExA(key, name, nullptr, &value.type, size ? value.data.data() : nullptr, &size) == ERROR_SUCCESS) {
            value.exists = true;
            value.data.resize(size);
        } else {
            value.data.clear();
        }
    }
    RegCloseKey(key);
    return value;
}

MessageBoxRecorder::MessageBoxRecorder(int answer)
{
    activeRecorder = this;
    activeAnswer = answer;
    SetMessageBoxHook(RecordBox);
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    if (activeRecorder == this) {
        SetMessageBoxHook(nullptr);
        activeRecorder = nullptr;
    }
}

void MessageBoxRecorder::setAnswer(int answer)
{
    activeAnswer = answer;
}

std::string SystemFolder()
{
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, sizeof folder);
    return folder;
}

std::string ImageOfProcess(DWORD processId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return "";
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    std::string path = Module32First(snapshot, &module) ? module.szExePath : "";
    CloseHandle(snapshot);
    return path;
}
