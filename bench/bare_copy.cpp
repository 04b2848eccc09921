// bare_copy: copies or deletes a package's files with nothing but CopyFileA / DeleteFileA in a
// tight loop, under the same Wine prefix as the installer, and prints the loop's time.
//   bare_copy copy   <source folder> <destination folder> <list file>
//   bare_copy delete <folder> <list file>
//   bare_copy entries <setup information file> <count>   (reads [Install] keys 1..count)
// Prints "seconds=..." and "failures=..."; exit code 0 only when every call succeeded.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "file_loops.h"

namespace {

std::string AsFolder(const char* path)
{
    std::string folder(path);
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

int Usage()
{
    fprintf(stderr, "usage: bare_copy copy SOURCE DESTINATION LIST | bare_copy delete FOLDER LIST |\n"
                    "       bare_copy entries INF COUNT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && strcmp(argv[1], "entries") == 0) {
        int count = atoi(argv[3]);
        LoopResult result = ReadInstallEntries(argv[2], count);
        printf("seconds=%.4f\nentries=%d\nfailures=%d\n", result.seconds, count, result.failures);
        return result.failures == 0 ? 0 : 1;
    }
    bool copy = argc == 5 && strcmp(argv[1], "copy") == 0;
    bool remove = argc == 4 && strcmp(argv[1], "delete") == 0;
    if (!copy && !remove)
        return Usage();
    std::vector<std::string> files;
    const char* listPath = argv[argc - 1];
    if (!ReadFileList(listPath, files) || files.empty()) {
        fprintf(stderr, "bare_copy: cannot read %s\n", listPath);
        return 2;
    }
    LoopResult result = copy ? CopyAll(AsFolder(argv[2]), AsFolder(argv[3]), files) : DeleteAll(AsFolder(argv[2]), files);
    printf("seconds=%.4f\nfiles=%u\nfailures=%d\n", result.seconds, static_cast<unsigned>(files.size()), result.failures);
    if (result.failures != 0)
        printf("first_failure=%s (error %lu)\n", result.firstFailed.c_str(), result.firstError);
    return result.failures == 0 ? 0 : 1;
}
