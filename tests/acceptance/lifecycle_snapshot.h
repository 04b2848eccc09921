// Snapshots of what an installation can touch, taken from outside the program: the file tree of
// drive C: and the registry as Wine's own regedit exports it. Two snapshots are compared line by
// line, so a failing comparison names every file, folder, key and value that differs.
#pragma once

#include <string>
#include <vector>

// One line per entry, sorted: "C:\path\folder\" for a folder, "C:\path\file <size> <written>"
// for a file, "[KEY]" for a registry key and "[KEY] value-line" for each of its values.
struct Snapshot {
    std::vector<std::string> lines;
    std::string failure;  // empty when the snapshot could be taken whole
};

// Every folder and file below root (a folder ending with "\"), without the places below any of
// the excluded prefixes (compared without regard to case). The system folder is listed as it
// is, not redirected for this 32-bit program.
Snapshot SnapshotFiles(const std::string& root, const std::vector<std::string>& excluded);

// The keys and values of the registry trees (such as "HKEY_CURRENT_USER"), as exported by
// regedit.exe into scratchFolder (a folder on C:), without the keys below any excluded key
// prefix (such as "HKEY_CURRENT_USER\Software\Wine\Explorer").
Snapshot SnapshotRegistry(const std::vector<std::string>& trees, const std::vector<std::string>& excludedKeys,
                          const std::string& scratchFolder);

// Takes a regedit export (UTF-16 with a byte-order mark) apart into snapshot lines; a value
// continued over several lines ("\" at the end) becomes one line.
std::vector<std::string> ParseRegistryExport(const std::wstring& text, const std::vector<std::string>& excludedKeys);

// The lines only in before ("- line") and only in after ("+ line"), in order.
std::vector<std::string> SnapshotDifferences(const Snapshot& before, const Snapshot& after);

// The differences as text, at most limit lines and a count of the rest.
std::string DescribeDifferences(const std::vector<std::string>& differences, size_t limit = 200);

// Places of the prefix that snapshots name or leave out: a "Shell Folders" value of the user,
// the temporary folder and the Templates folder (each with its final "\" as the system gives it).
std::string ShellFolder(const char* name);
std::string TempPath();
std::string TemplatesFolder();
