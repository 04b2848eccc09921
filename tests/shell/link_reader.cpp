// Link readers for the shortcut tests.
#include "link_reader.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdlib>

#include "support/test_support.h"

namespace {

typedef char*(CDECL* UnixFileNameFunction)(LPCWSTR);

// The Linux path of a Windows path, from Wine's own kernel32 export.
std::string UnixPath(const std::string& windowsPath)
{
    auto convert = reinterpret_cast<UnixFileNameFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (convert == nullptr)
        return std::string();
    char* unixPath = convert(WideFromUtf8(windowsPath).c_str());
    if (unixPath == nullptr)
        return std::string();
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// "\tLocal path\t\t\t: C:\x" lines of the "Link information:" block.
LinkFields ParseLnkinfo(const std::string& output)
{
    LinkFields fields;
    size_t block = output.find("Link information:");
    if (block == std::string::npos)
        return fields;
    fields.read = true;
    size_t position = output.find('\n', block);
    while (position != std::string::npos && position + 1 < output.size()) {
        size_t next = output.find('\n', position + 1);
        std::string line = output.substr(position + 1, next == std::string::npos ? std::string::npos : next - position - 1);
        position = next;
        if (Trim(line).empty())
            break;  // the block ends with an empty line
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string key = Trim(line.substr(0, colon));
        std::string value = line.substr(colon + 1);
        if (!value.empty() && value[0] == ' ')
            value.erase(0, 1);
        while (!value.empty() && (value.back() == '\r' || value.back() == '\n'))
            value.pop_back();
        if (key == "Local path")
            fields.path = value;
        else if (key == "Command line arguments")
            fields.arguments = value;
        else if (key == "Working directory")
            fields.workingFolder = value;
        else if (key == "Icon location")
            fields.iconFile = value;
        else if (key == "Icon index")
            fields.iconIndex = atoi(value.c_str());
        else if (key == "Description")
            fields.description = value;
    }
    return fields;
}

}  // namespace

LinkFields ReadLinkWithLnkinfo(const std::string& linkFile, const std::string& scratchFolder)
{
    std::string output = scratchFolder + "lnkinfo-output.txt";
    DeleteFileA(output.c_str());
    std::string unixLink = UnixPath(linkFile);
    std::string unixOutput = UnixPath(output);
    if (unixLink.empty() || unixOutput.empty())
        return LinkFields();

    // Wine starts a Linux program from CreateProcess without a real process: the handles it
    // hands back are stale stack values, and closing them can close an unrelated handle of the
    // caller (seen: the cached HKEY_CLASSES_ROOT, after which COM finds no classes). So the
    // Linux program is started by a start.exe of its own, which takes that damage instead.
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    // The Linux paths are UTF-8, which no ANSI command line of a Japanese or Chinese code page
    // carries, so the command goes as UTF-16. A link keeps its local path in the code page of
    // the program that wrote it, taken to be this suite's; lnkinfo reads it as Western (1252)
    // unless told.
    std::string command = Utf8FromAnsi(system) + "\\start.exe /b /unix /bin/sh -c \"/usr/bin/lnkinfo -c windows-" +
                          std::to_string(GetACP()) + " '" + unixLink + "' > '" + unixOutput + ".part' 2>&1; mv '" +
                          unixOutput + ".part' '" + unixOutput + "'\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::wstring line = WideFromUtf8(command);
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return LinkFields();
    WaitForSingleObject(process.hProcess, 15000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    for (DWORD waited = 0; !FileExists(output) && waited < 15000; waited += 20)
        Sleep(20);
    LinkFields fields = ParseLnkinfo(ReadFileBytes(output));
    DeleteFileA(output.c_str());
    return fields;
}

LinkFields ReadLinkWithShell(const std::string& linkFile)
{
    LinkFields fields;
    HRESULT initialized = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    HRESULT hrc = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link));
    if (SUCCEEDED(hrc)) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
            HRESULT hrl = persist->Load(WideFromUtf8(linkFile).c_str(), STGM_READ);
            if (SUCCEEDED(hrl)) {
                char text[1024];
                fields.read = true;
                if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH)))
                    fields.path = text;
                if (SUCCEEDED(link->GetArguments(text, sizeof text)))
                    fields.arguments = text;
                if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text)))
                    fields.workingFolder = text;
                int index = 0;
                if (SUCCEEDED(link->GetIconLocation(text, sizeof text, &index))) {
                    fields.iconFile = text;
                    fields.iconIndex = index;
                }
                if (SUCCEEDED(link->GetDescription(text, sizeof text)))
                    fields.description = text;
            }
            persist->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(initialized))
        CoUninitialize();
    return fields;
}

std::string Describe(const LinkFields& fields)
{
    if (!fields.read)
        return "(unreadable)";
    return "path=[" + fields.path + "] arguments=[" + fields.arguments + "] working=[" + fields.workingFolder +
           "] icon=[" + fields.iconFile + "," + std::to_string(fields.iconIndex) + "] description=[" +
           fields.description + "]";
}
