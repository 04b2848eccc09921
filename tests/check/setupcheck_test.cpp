// setupcheck on a package with one planted mistake of each kind, every finding checked by file,
// line, severity, section and key; and on the sample package, which checks clean.
#include <gtest/gtest.h>

#include "setupcheck_run.h"

namespace {

struct Expected {
    const char* file;
    const std::vector<std::string>* text;  // the file's lines, to find the line's number
    std::string line;                      // the line the finding points at
    const char* severity;
    const char* section;
    const char* key;
    const char* fragment;                  // part of the finding's text
};

// A file of exactly bytes megabytes without writing them (a sparse file).
bool MakeLargeFile(const std::string& path, LONGLONG bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    size.QuadPart = bytes;
    bool ok = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

const std::string kLongName(230, 'x');

const std::vector<std::string> kSetupInf = {
    "; one planted mistake of each kind",
    "[Install]",
    "Title=Planted Mistakes",
    "Folder=Planted",
    "InstallKey=Planted\\Key",
    "Version=" + std::string(64, '9'),
    "Publisher=" + std::string(100, 'p'),
    "Shortcut=MISSING.EXE",
    "1=PROGRAM.EXE",
    "2=NOTHERE.TXT",
    "3=a.txt,q!a.txt",
    "4=a.txt,..\\..\\outside.txt",
    "5=a.txt,data\\" + kLongName + ".txt",
    "6=b.txt,PROGRAM.EXE",
    "7=02,data\\movies.dat",
    "8=big.dat",
    "10=c.txt",
    "",
    "[Group]",
    "1=Program,PROGRAM.EXE",
    "2=No comma here",
    "3=,PROGRAM.EXE",
    "4=Ghost,GHOST.EXE",
    "",
    "[Reg]",
    "1=HKEY_CURRENT_USER",
    "2=HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "3=HKEY_CURRENT_USER\\Software\\TinySetupTest\\Planted",
    "4=HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Tcpip",
    "5=HKEY_CLASSES_ROOT\\.pzl",
};

// Read by every user without a file of their language: no Title, and a name beyond ASCII.
const std::vector<std::string> kEnglishInf = {
    "[Install]",
    "Folder=Planted\\English",
    "1=PROGRAM.EXE",
    "[Group]",
    "1=Caf\xE9,PROGRAM.EXE",
};

// Big5: a title whose first character ends in the byte of "\" (U+529F, A5 5C), a lead byte
// followed by a blank, an "02" entry that the Chinese wizard never installs, and a device name.
const std::vector<std::string> kChineseInf = {
    "[Install]",
    "Title=\xA5\x5C\xAF\xE0",
    "Folder=Planted\\Chinese",
    "1=PROGRAM.EXE",
    "2=02",
    "3=PROGRAM.EXE,con.txt",
    "[Group]",
    "1=\xA4 Program,PROGRAM.EXE",
};

}  // namespace

TEST(SetupCheck, FindsEachPlantedMistakeAtItsSectionKeyAndLine)
{
    TempFolder package("setupcheck-planted");
    TempFolder scratch("setupcheck-planted-report");
    for (const char* name : {"PROGRAM.EXE", "a.txt", "b.txt", "c.txt", "02"})
        ASSERT_TRUE(WriteFileBytes(package / name, "x")) << name;
    // More than the 1250 MB that the folder page asks for a full installation; with the setup
    // file and the small files the total rounds up to 1301 MB.
    ASSERT_TRUE(MakeLargeFile(package / "big.dat", 1300ll << 20));
    ASSERT_TRUE(WriteFileBytes(package / "SETUP.INF", JoinLines(kSetupInf)));
    ASSERT_TRUE(WriteFileBytes(package / "SETUPE.INF", JoinLines(kEnglishInf)));
    ASSERT_TRUE(WriteFileBytes(package / "SETUPZT.INF", JoinLines(kChineseInf)));

    const Expected expected[] = {
        {"SETUP.INF", &kSetupInf, "Folder=Planted", "warning", "Install", "RemoveNone", "single level below"},
        {"SETUP.INF", &kSetupInf, "InstallKey=Planted\\Key", "error", "Install", "InstallKey", "\"Planted_Key\""},
        {"SETUP.INF", &kSetupInf, kSetupInf[5], "warning", "Install", "Version", "longer than 63 bytes"},
        {"SETUP.INF", &kSetupInf, kSetupInf[6], "warning", "Install", "Publisher", "longer than 99 bytes"},
        {"SETUP.INF", &kSetupInf, "Shortcut=MISSING.EXE", "error", "Install", "Shortcut", "not one of the installed files"},
        {"SETUP.INF", &kSetupInf, "2=NOTHERE.TXT", "error", "Install", "2", "\"NOTHERE.TXT\" is not in the package"},
        {"SETUP.INF", &kSetupInf, "3=a.txt,q!a.txt", "error", "Install", "3", "unknown folder macro \"q!\""},
        {"SETUP.INF", &kSetupInf, "4=a.txt,..\\..\\outside.txt", "error", "Install", "4", "\"..\" leads the destination out"},
        {"SETUP.INF", &kSetupInf, "5=a.txt,data\\" + kLongName + ".txt", "error", "Install", "5", "longer than 259"},
        {"SETUP.INF", &kSetupInf, "6=b.txt,PROGRAM.EXE", "error", "Install", "6", "the same destination as entry 1"},
        {"SETUP.INF", &kSetupInf, "7=02,data\\movies.dat", "warning", "Install", "7", "installed only by the Japanese wizard"},
        {"SETUP.INF", &kSetupInf, "8=big.dat", "warning", "Install", "8", "need 1301 MB"},
        {"SETUP.INF", &kSetupInf, "10=c.txt", "error", "Install", "10", "never reached: the list ends at 9"},
        {"SETUP.INF", &kSetupInf, "2=No comma here", "error", "Group", "2", "no comma"},
        {"SETUP.INF", &kSetupInf, "3=,PROGRAM.EXE", "error", "Group", "3", "no name before the comma"},
        {"SETUP.INF", &kSetupInf, "4=Ghost,GHOST.EXE", "error", "Group", "4", "GHOST.EXE\" is not one of the installed files"},
        {"SETUP.INF", &kSetupInf, "1=HKEY_CURRENT_USER", "error", "Reg", "1", "the uninstaller refuses it"},
        {"SETUP.INF", &kSetupInf, "2=HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
         "error", "Reg", "2", "shared by many programs"},
        {"SETUP.INF", &kSetupInf, "4=HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Tcpip", "error", "Reg",
         "4", "the system's own"},
        {"SETUP.INF", &kSetupInf, "5=HKEY_CLASSES_ROOT\\.pzl", "warning", "Reg", "5", "only when the install found it absent"},
        {"SETUPE.INF", &kEnglishInf, "[Install]", "error", "Install", "Title", "missing"},
        {"SETUPE.INF", &kEnglishInf, "1=Caf\xE9,PROGRAM.EXE", "warning", "Group", "1", "beyond ASCII"},
        {"SETUPZT.INF", &kChineseInf, "Title=\xA5\x5C\xAF\xE0", "warning", "Install", "Title",
         "run the check under code page 950"},
        {"SETUPZT.INF", &kChineseInf, "2=02", "warning", "Install", "2", "never installed"},
        {"SETUPZT.INF", &kChineseInf, "3=PROGRAM.EXE,con.txt", "error", "Install", "3", "names a device"},
        {"SETUPZT.INF", &kChineseInf, "1=\xA4 Program,PROGRAM.EXE", "warning", "Group", "1", "not valid text in code page 950"},
    };

    CheckReport report = RunSetupCheck("\"" + package.path() + "\"", scratch);
    ASSERT_FALSE(report.lines.empty()) << "exit code " << report.exitCode;
    EXPECT_EQ(2, report.exitCode) << report.all;
    EXPECT_EQ("16 errors, 10 warnings", report.lines.back()) << report.all;

    std::vector<bool> matched(report.lines.size(), false);
    for (const Expected& row : expected) {
        int lineNumber = LineNumberOf(*row.text, row.line);
        ASSERT_NE(0, lineNumber) << row.line;
        std::string head = std::string(row.file) + ":" + std::to_string(lineNumber) + ": " + row.severity + ": [" +
                           row.section + "] " + row.key + ": ";
        bool found = false;
        for (size_t i = 0; i + 1 < report.lines.size() && !found; ++i) {
            const std::string& line = report.lines[i];
            if (line.compare(0, head.size(), head) == 0 && line.find(row.fragment) != std::string::npos)
                found = matched[i] = true;
        }
        EXPECT_TRUE(found) << "expected: " << head << "... " << row.fragment << "\nreport:\n" << report.all;
    }
    for (size_t i = 0; i + 1 < report.lines.size(); ++i)
        EXPECT_TRUE(matched[i]) << "unexpected finding: " << report.lines[i];
}

TEST(SetupCheck, SamplePackageChecksClean)
{
    TempFolder scratch("setupcheck-sample-report");
    CheckReport report = RunSetupCheck(std::string("\"") + BUILD_ROOT + "\\sample-package\"", scratch);
    EXPECT_EQ(0, report.exitCode) << report.all;
    ASSERT_EQ(1u, report.lines.size()) << report.all;
    EXPECT_EQ("0 errors, 0 warnings", report.lines[0]);
}

TEST(SetupCheck, WarnsOfABlankInTheProgramsNameAndRefusesAFileTooLargeToCheck)
{
    TempFolder package("setupcheck-blank-name");
    TempFolder scratch("setupcheck-blank-name-report");
    ASSERT_TRUE(WriteFileBytes(package / "Kite Setup.exe", "x"));
    ASSERT_TRUE(WriteFileBytes(package / "KITE.TXT", "x"));
    ASSERT_TRUE(WriteFileBytes(package / "Kite Setup.INF", "[Install]\r\nTitle=Kite\r\nFolder=Kite\\Game\r\n1=KITE.TXT\r\n"));
    ASSERT_TRUE(MakeLargeFile(package / "Kite SetupE.INF", (16ll << 20) + 1));

    CheckReport report = RunSetupCheck("\"" + package.path() + "\" \"Kite Setup.exe\"", scratch);
    EXPECT_EQ(2, report.exitCode) << report.all;
    ASSERT_EQ(3u, report.lines.size()) << report.all;
    EXPECT_EQ("Kite Setup.INF:1: warning: [Install] Title: the program's name \"Kite Setup.exe\" holds a blank: a command "
              "line that starts it (an AUTORUN.INF \"open=\" line, a batch file) must put it in quotes",
              report.lines[0]);
    EXPECT_EQ(0u, report.lines[1].find("Kite SetupE.INF:1: error: [Install] Title: larger than 16 MB")) << report.lines[1];
    EXPECT_EQ("1 errors, 1 warnings", report.lines[2]);
}
