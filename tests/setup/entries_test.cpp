// File entries, pseudo entries, group entries and folder macros resolved against a real setup
// information file, the real system folders and Shell Folders values set by the test.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "setup/entries.h"
#include "setup_fixture.h"

namespace {

const char kInstallDir[] = "C:\\Apps\\Puzzle\\";
const char kDesktop[] = "C:\\tinysetup-tests\\Desk";
const char kPersonal[] = "C:\\tinysetup-tests\\Docs\\";

// Expected paths name their base folder with a marker: <D> desktop, <M> documents, <S> system
// folder, <W> Windows folder, <I> the destination folder.
std::string Expand(std::string text)
{
    const std::pair<const char*, std::string> markers[] = {
        {"<D>", kDesktop}, {"<M>", kPersonal}, {"<S>", SystemFolder()}, {"<W>", WindowsFolder()}, {"<I>", kInstallDir}};
    for (const auto& marker : markers) {
        size_t at = text.find(marker.first);
        if (at != std::string::npos)
            text.replace(at, 3, marker.second);
    }
    return text;
}

class EntriesTest : public SetupDataTest {
protected:
    EntriesTest() : SetupDataTest("setup-entries")
    {
        SetInstallDir(kInstallDir);
        CopyText(testPackage.exeName, "SETUP.EXE");
        SetRegistryString(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", kDesktop);
        SetRegistryString(HKEY_CURRENT_USER, kShellFoldersKey, "Personal", kPersonal);
    }

    RegistryValueGuard desktop_{HKEY_CURRENT_USER, kShellFoldersKey, "Desktop"};
    RegistryValueGuard personal_{HKEY_CURRENT_USER, kShellFoldersKey, "Personal"};
};

struct InstallRow {
    const char* entry;
    const char* source;
    const char* target;
    bool mayRemove;
};

TEST_F(EntriesTest, FileEntriesResolveToSourceAndDestination)
{
    const InstallRow rows[] = {
        {"readme.txt", "readme.txt", "<I>readme.txt", true},
        {"doc\\manual.txt", "doc\\manual.txt", "<I>doc\\manual.txt", true},
        {"puzzle.dll,s!puzzle.dll", "puzzle.dll", "<S>\\puzzle.dll", false},
        {"puzzle.dll,S!puzzle.dll", "puzzle.dll", "<S>\\puzzle.dll", false},
        {"puzzle.ini,W!puzzle.ini", "puzzle.ini", "<W>\\puzzle.ini", true},
        {"puzzle.ini,w!sub\\puzzle.ini", "puzzle.ini", "<W>\\sub\\puzzle.ini", true},
        {"a.txt,   d!Puzzle\\a.txt", "a.txt", "<D>\\Puzzle\\a.txt", true},
        {"a.txt,\t D!a.txt", "a.txt", "<D>\\a.txt", true},
        {"a.txt,m!a.txt", "a.txt", "<M>a.txt", true},
        {"a.txt,q!a.txt", "a.txt", "\\?!\\a.txt", true},
        {"a.txt,data\\b.txt", "a.txt", "<I>data\\b.txt", true},
        {"a.txt,", "a.txt", "<I>", true},
        {"a.txt,w!", "a.txt", "<W>\\", true},
        {"a.txt,!x", "a.txt", "<I>!x", true},
        {"a.txt ,data\\b.txt", "a.txt ", "<I>data\\b.txt", true},
        {"a.txt,data,b.txt", "a.txt", "<I>data,b.txt", true},
        {"a.txt,s", "a.txt", "<I>s", true},
        {"02", "02", "<I>02", true},
    };
    for (const InstallRow& row : rows) {
        SCOPED_TRACE(row.entry);
        WriteSetupFile(std::string("[Install]\r\n1=") + row.entry + "\r\n");
        bool mayRemove = !row.mayRemove;
        EXPECT_TRUE(Resolve(1, &mayRemove));
        EXPECT_STREQ(row.source, lastEntry.source);
        EXPECT_EQ(Expand(row.target), lastEntry.target);
        EXPECT_EQ(row.mayRemove, mayRemove);
    }
}

TEST_F(EntriesTest, AbsentFileEntryGivesTheDestinationFolder)
{
    WriteSetupFile("[Install]\r\n1=a.txt\r\n2=\r\n");
    for (int i : {2, 3}) {
        SCOPED_TRACE(i);
        bool mayRemove = false;
        EXPECT_TRUE(Resolve(i, &mayRemove));
        EXPECT_STREQ("", lastEntry.source);
        EXPECT_STREQ(kInstallDir, lastEntry.target);
        EXPECT_TRUE(mayRemove);
    }
}

TEST_F(EntriesTest, PseudoEntriesNameTheProgramAndItsSetupFile)
{
    WriteSetupFile("[Install]\r\nTitle=Puzzle\r\n", "SETUPJ.INF");
    EXPECT_TRUE(Resolve(kInstallerEntry));
    EXPECT_STREQ("SETUP.EXE", lastEntry.source);
    EXPECT_STREQ("C:\\Apps\\Puzzle\\SETUP.EXE", lastEntry.target);

    bool mayRemove = false;
    EXPECT_TRUE(Resolve(kSetupFileEntry, &mayRemove));
    EXPECT_STREQ("SETUPJ.INF", lastEntry.source);
    EXPECT_STREQ("C:\\Apps\\Puzzle\\SETUP.INF", lastEntry.target);
    EXPECT_TRUE(mayRemove);

    CopyText(testPackage.exeName, "INSTALL");
    EXPECT_TRUE(Resolve(kSetupFileEntry));
    EXPECT_STREQ("C:\\Apps\\Puzzle\\INSTALL.INF", lastEntry.target);
}

TEST_F(EntriesTest, MissingShellFolderLeavesTheRestInTheDestinationFolder)
{
    WriteSetupFile("[Install]\r\n1=a.txt,d!Puzzle\\a.txt\r\n");
    // An empty value counts as absent: it must not put the file at the root of the current drive.
    for (bool absent : {true, false}) {
        SCOPED_TRACE(absent ? "absent" : "empty");
        if (absent)
            DeleteRegistryValue(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop");
        else
            SetRegistryString(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", "");
        EXPECT_TRUE(Resolve(1));
        EXPECT_STREQ("C:\\Apps\\Puzzle\\Puzzle\\a.txt", lastEntry.target);
    }
}

struct GroupRow {
    const char* entry;
    const char* name;
    const char* target;
};

TEST_F(EntriesTest, GroupEntriesSplitAtTheFirstComma)
{
    const GroupRow rows[] = {
        {"Puzzle,PUZZLE.EXE?0,/debug", "Puzzle", "<I>PUZZLE.EXE?0,/debug"},
        {"Uninstall Puzzle,SETUP.EXE,/r", "Uninstall Puzzle", "<I>SETUP.EXE,/r"},
        {"Puzzle ,  d!x.exe", "Puzzle ", "<I>  d!x.exe"},
        {",PUZZLE.EXE", "", "<I>PUZZLE.EXE"},
        {"Puzzle,", "Puzzle", "<I>"},
        {"Read me", "", ""},
    };
    for (const GroupRow& row : rows) {
        SCOPED_TRACE(row.entry);
        WriteSetupFile(std::string("[Group]\r\n1=") + row.entry + "\r\n");
        EXPECT_TRUE(ResolveGroup(1));
        EXPECT_STREQ(row.name, lastEntry.source);
        EXPECT_EQ(row.target[0] ? Expand(row.target) : std::string(), lastEntry.target);
    }

    EXPECT_TRUE(ResolveGroup(2));
    EXPECT_STREQ("", lastEntry.source);
    EXPECT_STREQ("", lastEntry.target);
}

struct MacroRow {
    const char* spec;
    int result;
    const char* path;
};

TEST_F(EntriesTest, ExpandPathMacroReportsTheMacroLetter)
{
    const MacroRow rows[] = {
        {"", 0, "<I>"},
        {"x.txt", 0, "<I>x.txt"},
        {"  d!x", 'd', "<D>\\x"},
        {"D!", 'd', "<D>\\"},
        {"m!x", 'm', "<M>x"},
        {"\r\n\v\fS!x", 's', "<S>\\x"},
        {"w!x", 'w', "<W>\\x"},
        {"Q!x", 'q', "\\?!\\x"},
        {"1!x", '1', "\\?!\\x"},
        // A byte above 0x7F is a letter like any other: reported as a positive byte value.
        {"\xFF!x", 0xFF, "\\?!\\x"},
        {"!x", 0, "<I>!x"},
        {"d", 0, "<I>d"},
    };
    for (const MacroRow& row : rows) {
        SCOPED_TRACE(row.spec);
        char out[kPathCapacity] = "stale";
        EXPECT_EQ(row.result, ExpandPathMacro(row.spec, out, sizeof out));
        EXPECT_EQ(Expand(row.path), out);
    }
}

TEST_F(EntriesTest, ExpandPathMacroIsBoundByTheCallersCapacity)
{
    // The shortcut manager expands into a larger buffer: a result past 259 characters fits there.
    std::string rest(400, 'x');
    char large[1284];
    EXPECT_EQ('w', ExpandPathMacro(("w!" + rest).c_str(), large, sizeof large));
    EXPECT_EQ(WindowsFolder() + "\\" + rest, large);

    // A base folder that does not fit is refused as well, not only the rest.
    char small[12] = "stale";
    EXPECT_EQ(kExpandTooLong, ExpandPathMacro("a", small, sizeof small));
    EXPECT_STREQ("", small);
    SetRegistryString(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", "C:\\" + std::string(300, 'd'));
    char out[kPathCapacity] = "stale";
    EXPECT_EQ(kExpandTooLong, ExpandPathMacro("d!a", out, sizeof out));
    EXPECT_STREQ("", out);
}

// Resolved paths of 259 characters fit; 260 and 261 are refused with both fields empty.
struct LengthRow {
    size_t length;
    bool fits;
};
const LengthRow kLengths[] = {{259, true}, {260, false}, {261, false}};

void ExpectRefused(const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_STREQ("", lastEntry.source);
    EXPECT_STREQ("", lastEntry.target);
}

TEST_F(EntriesTest, FileEntryTooLongForAPathIsRefused)
{
    for (const LengthRow& row : kLengths) {
        SCOPED_TRACE(row.length);
        // Without a destination: the destination folder followed by the source text.
        std::string name(row.length - strlen(kInstallDir), 'n');
        WriteSetupFile("[Install]\r\n1=x.txt\r\n2=" + name + "\r\n");
        ASSERT_TRUE(Resolve(1));
        bool mayRemove = true;
        EXPECT_EQ(row.fits, Resolve(2, &mayRemove));
        if (row.fits) {
            EXPECT_EQ(kInstallDir + name, lastEntry.target);
            EXPECT_TRUE(mayRemove);
        } else {
            ExpectRefused("source only");
            EXPECT_FALSE(mayRemove);
        }

        // With a folder macro: the Windows folder, a separator and the rest.
        std::string rest(row.length - WindowsFolder().size() - 1, 'w');
        WriteSetupFile("[Install]\r\n1=x.txt,w!" + rest + "\r\n");
        EXPECT_EQ(row.fits, Resolve(1));
        if (row.fits)
            EXPECT_EQ(WindowsFolder() + "\\" + rest, lastEntry.target);
        else
            ExpectRefused("macro");

        char out[kPathCapacity];
        EXPECT_EQ(row.fits ? 'w' : kExpandTooLong, ExpandPathMacro(("w!" + rest).c_str(), out, sizeof out));
    }
}

TEST_F(EntriesTest, EntryTextTooLongForItsBufferIsRefusedEvenWhenTheResultWouldFit)
{
    // The profile reader would silently cut such a text, and a cut name is another file.
    SetInstallDir("C:\\");
    for (const LengthRow& row : kLengths) {
        SCOPED_TRACE(row.length);
        std::string destination(row.length - strlen("a.txt,"), 'b');
        WriteSetupFile("[Install]\r\n1=a.txt," + destination + "\r\n[Group]\r\n1=a.txt," + destination + "\r\n");
        EXPECT_EQ(row.fits, Resolve(1));
        if (row.fits)
            EXPECT_EQ("C:\\" + destination, lastEntry.target);
        else
            ExpectRefused("file entry");
        EXPECT_EQ(row.fits, ResolveGroup(1));
        if (!row.fits)
            ExpectRefused("group entry");
    }
}

TEST_F(EntriesTest, GroupTargetTooLongForAPathIsRefused)
{
    for (const LengthRow& row : kLengths) {
        SCOPED_TRACE(row.length);
        std::string target(row.length - strlen(kInstallDir), 't');
        WriteSetupFile("[Group]\r\n1=P," + target + "\r\n");
        EXPECT_EQ(row.fits, ResolveGroup(1));
        if (row.fits) {
            EXPECT_STREQ("P", lastEntry.source);
            EXPECT_EQ(kInstallDir + target, lastEntry.target);
        } else {
            ExpectRefused("group entry");
        }
    }
}

TEST_F(EntriesTest, PseudoEntriesTooLongForAPathAreRefused)
{
    WriteSetupFile("[Install]\r\nTitle=Puzzle\r\n");
    for (const LengthRow& row : kLengths) {
        SCOPED_TRACE(row.length);
        // "SETUP.EXE" and "SETUP.INF" have the same length.
        SetInstallDir("C:\\" + std::string(row.length - strlen("SETUP.EXE") - 4, 'i') + "\\");
        for (int i : {-1, 0}) {
            SCOPED_TRACE(i);
            bool mayRemove = true;
            EXPECT_EQ(row.fits, Resolve(i, &mayRemove));
            EXPECT_EQ(row.fits, mayRemove);
            EXPECT_EQ(row.fits ? row.length : 0u, strlen(lastEntry.target));
        }
    }
}

TEST_F(EntriesTest, EmptySetupFilePathReadsNoEntries)
{
    testPackage.infPath[0] = '\0';
    EXPECT_TRUE(Resolve(1));
    EXPECT_STREQ("", lastEntry.source);
    EXPECT_STREQ(kInstallDir, lastEntry.target);
    EXPECT_TRUE(ResolveGroup(1));
    EXPECT_STREQ("", lastEntry.target);
}

}  // namespace
