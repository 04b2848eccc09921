// Hostile setup information files run through the built program: each file of
// tests/acceptance/corpus/ (and each case this source generates: over-long values, binary
// junk, NUL bytes) is installed with the wizard and uninstalled with a worker copy, as far as
// the program gets. The program must neither crash nor hang, must show the messages the case
// expects and no others, and must leave alone what lies outside the installation the file
// describes: a sentinel folder and registry key, and the package it was installed from.
//
// A case's expectations are its leading comment lines (the profile reader skips them):
//   ; install: 21 40        messages shown by the install run, in order (35/36/40 included)
//   ; uninstall: 27 24      messages shown by the uninstall worker, in order
//   ; install-ja: 21 6 40   the list of one suite's language, where it differs
//   ; cancel: yes           cancel the wizard on its folder page instead of installing
//   ; langs: en ja          suites that run the case (default: en)
//   ; files: a.txt b.txt    files of the package (their content is their name)
//   ; outside: outside\evil.txt   a file laid out in the test folder before the install
//                           (this and the directives below: one path or key per line)
//   ; created: p            a path below the test folder that the install must have made
//   ; created-ja: p         ... in one suite's language only (also exists-after-ja: and
//                           absent-after-ja:)
//   ; exists-after: p       a file or folder below the test folder that must exist at the end
//   ; absent-after: p       ... that must not
//   ; owned-key: Software\TinySetupTest\X    an HKCU key (HKLM: or HKCR: before it for those
//                           roots) made before the run that the uninstall must delete
//   ; kept-key: ...         a key made before the run that must survive it
//   ; system-kept: name     a file the install puts in the system folder and the uninstall keeps
//   ; windows-removed: name a file the install puts in the Windows folder and the uninstall deletes
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/language.h"
#include "messages_package.h"
#include "messages_scenarios.h"

namespace {

constexpr DWORD kRunDeadlineMs = 60000;
constexpr const char kSentinelKey[] = "Software\\TinySetupTest\\CorpusSentinel";
constexpr const char kCorpusFolder[] = SOURCE_ROOT "\\tests\\acceptance\\corpus\\";

struct CorpusCase {
    std::string name;   // the file name, or the generated case's name
    std::string bytes;  // the setup information file exactly
};

void PrintTo(const CorpusCase& c, std::ostream* out) { *out << c.name; }

// Directives whose value is one path or key name per line, blanks included.
bool IsPathDirective(const std::string& key)
{
    return key.compare(0, 7, "install") != 0 && key.compare(0, 9, "uninstall") != 0 && key != "langs" &&
           key != "files" && key != "cancel";
}

// The values of a directive, split at blanks (or one per line for paths); none when absent.
std::vector<std::string> Directive(const std::string& bytes, const std::string& key)
{
    std::vector<std::string> values;
    std::istringstream lines(bytes);
    std::string line;
    while (std::getline(lines, line) && !line.empty() && line[0] == ';') {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string prefix = "; " + key + ":";
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        if (IsPathDirective(key)) {
            size_t start = line.find_first_not_of(' ', prefix.size());
            if (start != std::string::npos)
                values.push_back(line.substr(start));
            continue;
        }
        std::istringstream words(line.substr(prefix.size()));
        std::string word;
        while (words >> word)
            values.push_back(word);
    }
    return values;
}

// A file or a folder.
bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The paths of a directive for every suite followed by those for the suite's language only.
std::vector<std::string> PathsOf(const std::string& bytes, const std::string& key)
{
    std::vector<std::string> paths = Directive(bytes, key);
    for (const std::string& path : Directive(bytes, key + "-" + kLanguageTag))
        paths.push_back(path);
    return paths;
}

bool RunsIn(const CorpusCase& c)
{
    std::vector<std::string> langs = Directive(c.bytes, "langs");
    if (langs.empty())
        langs.push_back("en");
    return std::find(langs.begin(), langs.end(), kLanguageTag) != langs.end();
}

std::string Repeat(char c, size_t count) { return std::string(count, c); }

// Cases made here rather than stored: long values and bytes no text editor keeps.
std::vector<CorpusCase> GeneratedCases()
{
    std::vector<CorpusCase> cases;
    const char base[] = "[Install]\r\nTitle=Corpus Long\r\nFolder=CorpusLong\r\nInstallKey=CorpusLong\r\n";
    for (size_t length : {259u, 260u, 261u, 1000u, 4100u}) {
        std::string n = std::to_string(length);
        // Values of the settings: a title is only shown, so a long one is cut to its field;
        // every folder or key name too long for a path refuses the file.
        cases.push_back({"gen-title-" + n, "; cancel: yes\r\n; install: 36\r\n; langs: en ja\r\n[Install]\r\nTitle=" +
                                               Repeat('T', length) + "\r\nFolder=CorpusLongTitle\r\n"});
        cases.push_back({"gen-folder-" + n,
                         "; install: 1\r\n[Install]\r\nTitle=Corpus Long Folder\r\nFolder=" + Repeat('f', length) + "\r\n"});
        cases.push_back({"gen-rootfolder-" + n,
                         "; install: 1\r\n[Install]\r\nTitle=Corpus Long Folder\r\nFolder=\\" + Repeat('f', length) + "\r\n"});
        cases.push_back({"gen-installkey-" + n, "; install: 1\r\n[Install]\r\nTitle=Corpus Long Key\r\nFolder=CorpusLongKey\r\n"
                                                "InstallKey=" + Repeat('k', length) + "\r\n"});
        cases.push_back({"gen-menu-" + n, "; install: 1\r\n[Install]\r\nTitle=Corpus Long Menu\r\nFolder=CorpusLongMenu\r\n"
                                          "Menu=" + Repeat('m', length) + "\r\n"});
        // Entries, shortcuts, "Open" and "Reg" values: the install and the uninstall run.
        // The "Reg" value cut to a path's 259 characters would name the kept key exactly.
        std::string install = "; files: a.txt\r\n; kept-key: Software\\TinySetupTest\\CorpusLong" + Repeat('r', 208) +
                              "\r\n" + base + "Shortcut=" + Repeat('s', length) + "\r\nOpen=" + Repeat('o', length) +
                              "\r\n1=a.txt\r\n2=" + Repeat('e', length) + "\r\n3=a.txt," + Repeat('d', length) +
                              "\r\n4=a.txt,d!" + Repeat('d', length) + "\r\n[Group]\r\n1=" + Repeat('g', length) +
                              ",a.txt\r\n2=Long target," + Repeat('t', length) + "\r\n3=Long option,a.txt?0," +
                              Repeat('a', length) + "\r\n[Reg]\r\n1=HKEY_CURRENT_USER\\Software\\TinySetupTest\\CorpusLong" +
                              Repeat('r', length) + "\r\n";
        cases.push_back({"gen-entries-" + n, "; install: 21 21 21 40\r\n; uninstall: 27\r\n" + install});
    }
    // Junk: bytes of every value, NULs included, from a fixed seed; no "[Install]" can arise.
    std::string junk;
    unsigned seed = 12345;
    for (int i = 0; i < 64 * 1024; ++i) {
        seed = seed * 1103515245u + 12345u;
        char c = static_cast<char>(seed >> 16);
        junk += c == '[' ? ']' : c;
    }
    cases.push_back({"gen-binary-junk", "; install: 1\r\n; langs: en ja\r\n" + junk});
    cases.push_back({"gen-junk-after-settings", "; files: a.txt\r\n; install: 35\r\n; langs: en ja\r\n"
                                                "[Install]\r\nTitle=Corpus Junk\r\nFolder=CorpusJunk\r\n1=a.txt\r\n[Reg]\r\n" +
                                                    junk.substr(0, 4096)});
    // NUL bytes inside values and lines.
    std::string nul(1, '\0');
    cases.push_back({"gen-nul-bytes", "; files: a.txt\r\n; install: 35\r\n; langs: en ja\r\n[Install]\r\nTitle=Corpus Nul" +
                                          nul + "Title\r\nFolder=CorpusNul\r\n1=a.txt" + nul + "b.txt\r\n2=" + nul +
                                          "\r\n[Reg]\r\n1=" + nul + "HKEY_CURRENT_USER\r\n"});
    return cases;
}

std::vector<CorpusCase> CorpusCases()
{
    std::vector<CorpusCase> cases;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(kCorpusFolder) + "*.inf").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            cases.push_back({found.cFileName, ReadFileBytes(kCorpusFolder + std::string(found.cFileName))});
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(cases.begin(), cases.end(), [](const CorpusCase& a, const CorpusCase& b) { return a.name < b.name; });
    for (const CorpusCase& generated : GeneratedCases())
        cases.push_back(generated);
    std::vector<CorpusCase> here;
    for (const CorpusCase& c : cases) {
        if (RunsIn(c))
            here.push_back(c);
    }
    return here;
}

std::string TestName(const std::string& name)
{
    std::string text;
    for (char c : name)
        text += (isalnum(static_cast<unsigned char>(c)) ? c : '_');
    return text;
}

// "HKLM:Software\X" and the like.
HKEY KeyRoot(std::string& path)
{
    if (path.compare(0, 5, "HKLM:") == 0) {
        path = path.substr(5);
        return HKEY_LOCAL_MACHINE;
    }
    if (path.compare(0, 5, "HKCR:") == 0) {
        path = path.substr(5);
        return HKEY_CLASSES_ROOT;
    }
    return HKEY_CURRENT_USER;
}

// Everything below a folder: relative path and content of each file, and the folders.
void SnapshotFolder(const std::string& folder, const std::string& relative, std::map<std::string, std::string>& out)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + relative + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[relative + name + "\\"] = "";
            SnapshotFolder(folder, relative + name + "\\", out);
        } else {
            out[relative + name] = ReadFileBytes(folder + relative + name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Every key and value below a registry key.
void SnapshotKey(HKEY root, const std::string& path, std::map<std::string, std::string>& out)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    out[path + "\\"] = "";
    char name[512];
    BYTE data[2048];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        out[path + "\\" + name] = std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), dataSize);
    }
    std::vector<std::string> children;
    for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i)
        children.push_back(name);
    RegCloseKey(key);
    for (const std::string& child : children)
        SnapshotKey(root, path + "\\" + child, out);
}

std::string Differences(const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after)
{
    std::string text;
    for (const auto& entry : before) {
        auto found = after.find(entry.first);
        if (found == after.end())
            text += " removed:" + entry.first;
        else if (found->second != entry.second)
            text += " changed:" + entry.first;
    }
    for (const auto& entry : after) {
        if (before.find(entry.first) == before.end())
            text += " added:" + entry.first;
    }
    return text;
}

std::string IdList(const std::vector<int>& ids)
{
    std::string text;
    for (int id : ids)
        text += (text.empty() ? "" : " ") + std::to_string(id);
    return text;
}

// The ids a phase must show; "install-ja:" and the like hold a language's own list.
std::vector<int> ExpectedIds(const std::string& bytes, const std::string& key)
{
    std::vector<int> ids;
    std::vector<std::string> words = Directive(bytes, key + "-" + kLanguageTag);
    if (words.empty())
        words = Directive(bytes, key);
    for (const std::string& word : words)
        ids.push_back(atoi(word.c_str()));
    return ids;
}

bool IsSheet(HWND window)
{
    DWORD_PTR page = 0;
    return SendMessageTimeoutA(window, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, 1000, &page) && page != 0;
}

class LANGUAGE_SUITE(Corpus) : public AcceptancePackage, public ::testing::WithParamInterface<CorpusCase> {
public:
    LANGUAGE_SUITE(Corpus)()
        : AcceptancePackage("corpus-" + std::string(kLanguageTag)),
          crashDialogGuard(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", "ShowCrashDialog")
    {
        // A crash must end the process with its exception code, not wait in a dialog.
        HKEY key;
        if (RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", &key) == ERROR_SUCCESS) {
            DWORD zero = 0;
            RegSetValueExA(key, "ShowCrashDialog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
            RegCloseKey(key);
        }
        entriesBefore = UninstallEntries();
    }

    // The names below the system's uninstall key; a case's own registration is removed after it.
    static std::vector<std::string> UninstallEntries()
    {
        std::vector<std::string> names;
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return names;
        char name[512];
        for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i)
            names.push_back(name);
        RegCloseKey(key);
        return names;
    }

    ~LANGUAGE_SUITE(Corpus)() override
    {
        KillStartedProcesses();
        for (const std::string& name : UninstallEntries()) {
            if (std::find(entriesBefore.begin(), entriesBefore.end(), name) == entriesBefore.end())
                DeleteRegistryTree(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + name).c_str());
        }
        DeleteRegistryTree(HKEY_CURRENT_USER, kSentinelKey);
        for (std::string path : Directive(GetParam().bytes, "owned-key")) {
            HKEY root = KeyRoot(path);
            DeleteRegistryTree(root, path.c_str());
        }
        for (std::string path : Directive(GetParam().bytes, "kept-key")) {
            HKEY root = KeyRoot(path);
            DeleteRegistryTree(root, path.c_str());
        }
        for (const std::string& name : Directive(GetParam().bytes, "system-kept"))
            DeleteFileA((SystemFolder() + "\\" + name).c_str());
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, MAX_PATH);
        for (const std::string& name : Directive(GetParam().bytes, "windows-removed"))
            DeleteFileA((std::string(windows) + "\\" + name).c_str());
    }

    // Runs the program until it ends, answering every message box (No where there is a No,
    // else OK) and driving the wizard or the uninstall dialog; returns the ids shown (0 for a
    // text that is no message of the table, which is then reported).
    std::vector<int> Drive(bool cancel)
    {
        std::vector<int> shown;
        shownTexts.clear();
        DWORD start = GetTickCount();
        bool destinationGiven = false, cancelled = false, finished = false;
        DWORD nextPressedAt = 0;
        HWND menuLeft = nullptr;
        while (run.Running()) {
            if (GetTickCount() - start > kRunDeadlineMs) {
                ADD_FAILURE() << "the program hangs";
                SaveScreenshot("corpus-hang-" + TestName(GetParam().name));
                run.Kill();
                break;
            }
            for (HWND window : DialogsOf(run.processId)) {
                if (GetDlgItem(window, IDC_UNINSTALL_STATUS) != nullptr) {
                    if (!finished && ControlEnabled(window, IDC_FINISH)) {
                        PressButton(window, IDC_FINISH);
                        finished = true;
                    }
                } else if (IsSheet(window)) {
                    HWND page = CurrentPage(window);
                    if (GetDlgItem(page, IDC_PROMPT) != nullptr) {
                        if ((cancel || (destinationGiven && GetTickCount() - nextPressedAt > 3000)) && !cancelled) {
                            PressWizardButton(window, PSBTN_CANCEL);
                            cancelled = true;
                        } else if (!cancel && !destinationGiven) {
                            SetControlText(page, IDC_DESTINATION, dest);
                            PressWizardButton(window, PSBTN_NEXT);
                            destinationGiven = true;
                            nextPressedAt = GetTickCount();
                        }
                    } else if (GetDlgItem(page, IDC_MENU_SHORTCUTS) != nullptr && page != menuLeft &&
                               ControlEnabled(window, kWizardNext)) {
                        PressWizardButton(window, PSBTN_NEXT);
                        menuLeft = page;
                    } else if (GetDlgItem(page, IDC_STATUS) != nullptr && !finished &&
                               ControlEnabled(window, kWizardFinish) && ControlVisible(window, kWizardFinish)) {
                        PressWizardButton(window, PSBTN_FINISH);
                        finished = true;
                    }
                } else if (GetDlgItem(window, 0xFFFF) != nullptr) {
                    MessageBoxInfo box = ReadMessageBox(window);
                    if (box.buttons.empty())
                        continue;  // not ready yet
                    int id = IdentifyMessage(box.text, kSuiteLanguage);
                    shownTexts += "\n  [" + std::to_string(id) + "] " + box.text;
                    if (id == 0)
                        ADD_FAILURE() << "a box that is no message of the table: [" << box.text << "] caption ["
                                      << box.caption << "]";
                    shown.push_back(id);
                    bool hasNo = std::find(box.buttons.begin(), box.buttons.end(), IDNO) != box.buttons.end();
                    PressButton(window, hasNo ? IDNO : IDOK);
                    WaitGone(window, 5000);
                }
            }
            Sleep(50);
        }
        int code = run.WaitExit(5000);
        EXPECT_TRUE(code == 0 || code == 1) << "exit code " << code << " (0x" << std::hex << static_cast<unsigned>(code)
                                            << std::dec << "): a crash";
        return shown;
    }

    std::map<std::string, std::string> Snapshot()
    {
        std::map<std::string, std::string> snapshot;
        SnapshotFolder(root / "sentinel\\", "", snapshot);
        std::map<std::string, std::string> package;
        SnapshotFolder(pkg, "", package);
        for (const auto& entry : package)
            snapshot["pkg\\" + entry.first] = entry.second;
        SnapshotKey(HKEY_CURRENT_USER, kSentinelKey, snapshot);
        return snapshot;
    }

    RegistryValueGuard crashDialogGuard;
    std::vector<std::string> entriesBefore;
    std::string shownTexts;  // every box met, for the failure messages
};

using Fixture = LANGUAGE_SUITE(Corpus);

LANGUAGE_TEST_P(LANGUAGE_SUITE(Corpus), Run)
{
    const CorpusCase& c = GetParam();
    SCOPED_TRACE(c.name);

    // The package and what lies around it.
    CopyProgramTo(root, "pkg\\SETUP.EXE");
    ASSERT_TRUE(WriteFileBytes(pkg + "SETUP.INF", c.bytes));
    for (const std::string& file : Directive(c.bytes, "files"))
        ASSERT_TRUE(WriteFileBytes(pkg + file, file));
    for (const std::string& file : Directive(c.bytes, "outside"))
        ASSERT_TRUE(WriteFileBytes(root / file, "the user's own " + file));
    ASSERT_TRUE(WriteFileBytes(root / "sentinel\\user.txt", "the user's own file"));
    ASSERT_TRUE(WriteFileBytes(root / "sentinel\\deep\\keep.txt", "kept"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, kSentinelKey, "value", "kept"));
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, (std::string(kSentinelKey) + "\\Child").c_str(), "value", "kept"));
    for (const char* directive : {"owned-key", "kept-key"}) {
        for (std::string path : Directive(c.bytes, directive)) {
            HKEY rootKey = KeyRoot(path);
            HKEY key;
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(rootKey, (path + "\\Below").c_str(), &key)) << path;
            RegCloseKey(key);
        }
    }
    std::map<std::string, std::string> before = Snapshot();

    // The install, as far as it gets.
    ASSERT_TRUE(run.Start(pkg + "SETUP.EXE", "abc"));
    bool cancel = !Directive(c.bytes, "cancel").empty();
    EXPECT_EQ(IdList(ExpectedIds(c.bytes, "install")), IdList(Drive(cancel))) << "messages of the install:" << shownTexts;

    for (const std::string& path : PathsOf(c.bytes, "created"))
        EXPECT_TRUE(PathExists(root / path)) << "not installed: " << Utf8FromAnsi(path);

    // The uninstall, when an installed copy is there to start it.
    if (FileExists(dest + "SETUP.EXE")) {
        std::string worker = root / "worker\\SETUP.EXE";
        ASSERT_TRUE(CopyProgram(worker));
        ASSERT_TRUE(run.Start(worker, "x " + dest + "SETUP.EXE"));
        EXPECT_EQ(IdList(ExpectedIds(c.bytes, "uninstall")), IdList(Drive(false))) << "messages of the uninstall:" << shownTexts;
    } else {
        EXPECT_TRUE(Directive(c.bytes, "uninstall").empty()) << "an uninstall was expected, but nothing was installed";
    }

    EXPECT_EQ("", Differences(before, Snapshot())) << "outside the installation";
    for (const std::string& path : PathsOf(c.bytes, "exists-after"))
        EXPECT_TRUE(PathExists(root / path)) << Utf8FromAnsi(path);
    for (const std::string& path : PathsOf(c.bytes, "absent-after"))
        EXPECT_FALSE(PathExists(root / path)) << Utf8FromAnsi(path);
    for (std::string path : Directive(c.bytes, "owned-key")) {
        HKEY rootKey = KeyRoot(path);
        EXPECT_FALSE(RegistryKeyExists(rootKey, path.c_str())) << "listed in [Reg]: " << path;
    }
    for (std::string path : Directive(c.bytes, "kept-key")) {
        HKEY rootKey = KeyRoot(path);
        EXPECT_TRUE(RegistryKeyExists(rootKey, path.c_str())) << "not to be deleted: " << path;
    }
    for (const std::string& name : Directive(c.bytes, "system-kept"))
        EXPECT_TRUE(FileExists(SystemFolder() + "\\" + name)) << name;
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    for (const std::string& name : Directive(c.bytes, "windows-removed"))
        EXPECT_FALSE(FileExists(std::string(windows) + "\\" + name)) << name;
}

LANGUAGE_INSTANTIATE(File, LANGUAGE_SUITE(Corpus), ::testing::ValuesIn(CorpusCases()),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) { return TestName(info.param.name); });

// The corpus folder is read at run time: an empty list would pass every suite unseen.
TEST(LANGUAGE_SUITE(CorpusFiles), TheFolderHoldsCasesWithExpectations)
{
    std::vector<CorpusCase> cases = CorpusCases();
    size_t stored = 0;
    for (const CorpusCase& c : cases) {
        if (c.name.compare(0, 4, "gen-") != 0)
            ++stored;
        EXPECT_FALSE(Directive(c.bytes, "install").empty()) << c.name << " says what the install shows";
    }
    EXPECT_GE(stored, 5u) << kCorpusFolder;
}

}  // namespace
