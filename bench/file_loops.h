// The platform's own limit for copying and deleting a package: bare CopyFileA and DeleteFileA
// loops over a list of relative file names, with nothing around them but the folders they need;
// and what reading a package's entries one key at a time costs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Reads one relative path a line (blank lines skipped, CR/LF or LF); false when unreadable.
bool ReadFileList(const std::string& listPath, std::vector<std::string>& files);

// The folders (relative, without trailing separator) that the files lie in, each once, every
// folder after its parent, in first-seen order. The root itself ("") is not listed.
std::vector<std::string> FoldersOf(const std::vector<std::string>& files);

struct LoopResult {
    double seconds = 0;
    int failures = 0;
    DWORD firstError = 0;
    std::string firstFailed;  // the path of the first failing call
};

// Creates destinationRoot and the files' folders, then copies every file from sourceRoot.
// Both roots end with a separator. Only the loop is timed, reading the list is not.
LoopResult CopyAll(const std::string& sourceRoot, const std::string& destinationRoot,
                   const std::vector<std::string>& files);

// Deletes every file, then the files' folders (deepest first) and the root itself.
LoopResult DeleteAll(const std::string& root, const std::vector<std::string>& files);

// Reads the keys "1" … count of section [Install] one at a time with GetPrivateProfileStringA,
// as the installer reads its file entries; an absent or empty key counts as a failure.
LoopResult ReadInstallEntries(const std::string& infPath, int count);
