// Reads a .lnk file back from outside the program: with lnkinfo (liblnk, an independent
// parser run as a Linux program) and with the shell's own link object.
#pragma once

#include <string>

struct LinkFields {
    bool read = false;          // the reader could take the file apart
    std::string path;           // target path
    std::string arguments;      // "" when none are stored
    std::string workingFolder;
    std::string iconFile;       // "" when no icon location is stored
    int iconIndex = 0;
    std::string description;
};

// Runs /usr/bin/lnkinfo on the file, named in UTF-8 (through start.exe /unix and /bin/sh, its
// output written into scratchFolder, a folder on C:); the fields come in UTF-8. Wine gives no
// process handle to wait on for a Linux program, so the output file appears under its final
// name only when lnkinfo has finished.
LinkFields ReadLinkWithLnkinfo(const std::string& linkFile, const std::string& scratchFolder);

// Loads the file (named in UTF-8) into a shell-link object (IPersistFile::Load) and asks it for
// its fields, which come in the active code page.
LinkFields ReadLinkWithShell(const std::string& linkFile);

std::string Describe(const LinkFields& fields);
