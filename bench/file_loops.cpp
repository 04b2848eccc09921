// Bare copy and delete loops, the yardstick the installer's own steps are measured against.
#include "file_loops.h"

#include <algorithm>
#include <stdio.h>

#include "bench_clock.h"

namespace {

void NoteFailure(LoopResult& result, const std::string& path)
{
    if (result.failures++ == 0) {
        result.firstError = GetLastError();
        result.firstFailed = path;
    }
}

}  // namespace

bool ReadFileList(const std::string& listPath, std::vector<std::string>& files)
{
    FILE* file = fopen(listPath.c_str(), "rb");
    if (file == nullptr)
        return false;
    char line[1024];
    while (fgets(line, sizeof line, file) != nullptr) {
        std::string name(line);
        while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
            name.pop_back();
        if (!name.empty())
            files.push_back(name);
    }
    fclose(file);
    return true;
}

std::vector<std::string> FoldersOf(const std::vector<std::string>& files)
{
    std::vector<std::string> folders;
    for (const std::string& file : files) {
        // Every separator ends one level, so "a\b\c.bin" gives "a" and then "a\b".
        for (size_t end = file.find_first_of("\\/"); end != std::string::npos;
             end = file.find_first_of("\\/", end + 1)) {
            std::string folder = file.substr(0, end);
            if (std::find(folders.begin(), folders.end(), folder) == folders.end())
                folders.push_back(folder);
        }
    }
    return folders;
}

LoopResult CopyAll(const std::string& sourceRoot, const std::string& destinationRoot,
                   const std::vector<std::string>& files)
{
    std::vector<std::string> folders = FoldersOf(files);
    LoopResult result;
    double start = NowSeconds();
    if (!CreateDirectoryA(destinationRoot.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        NoteFailure(result, destinationRoot);
    for (const std::string& folder : folders) {
        std::string path = destinationRoot + folder;
        if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            NoteFailure(result, path);
    }
    for (const std::string& file : files) {
        std::string target = destinationRoot + file;
        if (!CopyFileA((sourceRoot + file).c_str(), target.c_str(), TRUE))
            NoteFailure(result, target);
    }
    result.seconds = NowSeconds() - start;
    return result;
}

LoopResult DeleteAll(const std::string& root, const std::vector<std::string>& files)
{
    std::vector<std::string> folders = FoldersOf(files);
    LoopResult result;
    double start = NowSeconds();
    for (const std::string& file : files) {
        std::string path = root + file;
        if (!DeleteFileA(path.c_str()))
            NoteFailure(result, path);
    }
    // A child always comes after its parent in the list, so the reverse order empties it first.
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        std::string path = root + *folder;
        if (!RemoveDirectoryA(path.c_str()))
            NoteFailure(result, path);
    }
    std::string rootFolder = root.substr(0, root.size() - 1);
    if (!RemoveDirectoryA(rootFolder.c_str()))
        NoteFailure(result, rootFolder);
    result.seconds = NowSeconds() - start;
    return result;
}

LoopResult ReadInstallEntries(const std::string& infPath, int count)
{
    LoopResult result;
    char value[260];
    char key[16];
    double start = NowSeconds();
    for (int i = 1; i <= count; ++i) {
        wsprintfA(key, "%d", i);
        if (GetPrivateProfileStringA("Install", key, "", value, sizeof value, infPath.c_str()) == 0)
            NoteFailure(result, key);
    }
    result.seconds = NowSeconds() - start;
    return result;
}
