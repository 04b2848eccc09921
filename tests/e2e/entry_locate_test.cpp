// How the entry names its working files: the folder and name of the working path, the search
// for the setup information file by the user's language, and the refusal of paths too long
// to hold. Runs the entry's routines in the test program against real files on C:.
#include <gtest/gtest.h>

#include <set>
#include <string.h>

#include "app/entry.h"
#include "base/fixed_texts.h"
#include "base/messages.h"
#include "language.h"
#include "res/resource.h"
#include "setup/install_state.h"
#include "support/test_support.h"

namespace {

// The suffix of message 37 in the suite's language.
std::string LanguageSuffix()
{
    return SuiteMessage(IDS_INF_SUFFIX);
}

class LANGUAGE_SUITE(Locate) : public ::testing::Test {
protected:
    void SetUp() override
    {
        installState = InstallState{};
        testPackage = Package{};
        installState.instance = GetModuleHandleA(nullptr);
    }
};

}  // namespace

LANGUAGE_TEST_F(Locate, Message37IsTheLanguageSuffix)
{
    EXPECT_EQ(LanguageSuffix(), LoadMessage(IDS_INF_SUFFIX));
}

LANGUAGE_TEST_F(Locate, TriesBaseNameThenLanguageSuffixThenEnglish)
{
    const std::string language = "SETUP" + LanguageSuffix();
    struct Row {
        std::set<std::string> present;
        std::string expected;
    } rows[] = {
        {{"SETUP.INF", "SETUPJ.INF", "SETUPE.INF", "SETUPZT.INF"}, "SETUP.INF"},
        {{"SETUP.INF"}, "SETUP.INF"},
        {{"SETUPJ.INF", "SETUPE.INF", "SETUPZT.INF"}, language},
        {{"SETUPE.INF"}, "SETUPE.INF"},
        // The last candidate is taken without looking: the loader reports it missing.
        {{}, "SETUPE.INF"},
        {{"SETUPJ.INF"}, language == "SETUPJ.INF" ? "SETUPJ.INF" : "SETUPE.INF"},
        {{"SETUPZT.INF"}, language == "SETUPZT.INF" ? "SETUPZT.INF" : "SETUPE.INF"},
    };
    TempFolder folder("locate-order");
    const std::string exe = folder / "SETUP.EXE";
    for (const Row& row : rows) {
        std::string present;
        for (const std::string& name : row.present) {
            ASSERT_TRUE(WriteFileBytes(folder / name, "[Setup]\r\n"));
            present += name + " ";
        }
        SCOPED_TRACE("files present: " + present);
        LocateSetupInformation(testPackage, exe.c_str());
        EXPECT_EQ(folder / row.expected, testPackage.infPath);
        EXPECT_EQ(row.expected, testPackage.infName);
        for (const std::string& name : row.present)
            DeleteFileA((folder / name).c_str());
    }
}

LANGUAGE_TEST_F(Locate, DotInAFolderNameIsNoExtension)
{
    TempFolder folder("locate-dots");
    const std::string exe = folder / "my.app\\SETUP";
    ASSERT_TRUE(WriteFileBytes(folder / "my.app\\SETUP.INF", "[Setup]\r\n"));
    LocateSetupInformation(testPackage, exe.c_str());
    EXPECT_EQ(folder / "my.app\\SETUP.INF", testPackage.infPath);
    EXPECT_EQ("SETUP.INF", std::string(testPackage.infName));
}

LANGUAGE_TEST_F(Locate, WorkingPathGivesSourceFolderAndName)
{
    ASSERT_TRUE(SetWorkingPath(testPackage, "C:\\App\\SETUP.EXE"));
    EXPECT_STREQ("C:\\App\\", testPackage.sourceDir);
    EXPECT_STREQ("SETUP.EXE", testPackage.exeName);

    TempFolder folder("locate-worker");
    const std::string exe = folder / "App\\SETUP.EXE";
    ASSERT_TRUE(WriteFileBytes(folder / "App\\SETUP.INF", "[Setup]\r\n"));
    ASSERT_TRUE(SetWorkingPath(testPackage, exe.c_str()));
    LocateSetupInformation(testPackage, exe.c_str());
    EXPECT_EQ(folder / "App\\", testPackage.sourceDir);
    EXPECT_STREQ("SETUP.EXE", testPackage.exeName);
    EXPECT_EQ(folder / "App\\SETUP.INF", testPackage.infPath);
    EXPECT_STREQ("SETUP.INF", testPackage.infName);
}

LANGUAGE_TEST_F(Locate, WorkingPathWithoutFileNameStaysInItsFolder)
{
    // "x C:\App\" names no file; the candidates must still lie in that folder.
    LocateSetupInformation(testPackage, "C:\\App\\");
    EXPECT_EQ(0, strncmp(testPackage.infPath, "C:\\App\\", 7)) << testPackage.infPath;
    EXPECT_EQ(nullptr, strchr(testPackage.infPath + 7, '\\')) << testPackage.infPath;
}

LANGUAGE_TEST_F(Locate, WorkerEntryTakesThePathAfterX)
{
    // Nothing lies in C:\App, so the settings refuse after the paths are set (the command-line
    // table checks which path); the only box is message 1, in particular no uninstall
    // confirmation.
    MessageBoxRecorder recorder(IDOK);
    EXPECT_EQ(1, ProgramEntry(GetModuleHandleA(nullptr), "x C:\\App\\SETUP.EXE"));
    ASSERT_EQ(1u, recorder.boxes.size());
    EXPECT_EQ(std::string(LoadMessage(IDS_NO_INFORMATION)), recorder.boxes[0].text);
}

LANGUAGE_TEST_F(Locate, UninstallRequestAsksTheFixedQuestionFirst)
{
    MessageBoxRecorder recorder(IDCANCEL);
    EXPECT_EQ(0, ProgramEntry(GetModuleHandleA(nullptr), "/r"));
    ASSERT_EQ(1u, recorder.boxes.size());
    const RecordedBox& box = recorder.boxes[0];
    EXPECT_EQ(932u, box.codePage);
    EXPECT_EQ("ゲームを削除します。\nよろしいですか？", Utf8FromAnsi(box.text, 932));
    EXPECT_EQ("ゲームの削除", Utf8FromAnsi(box.caption, 932));
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), box.style);
    EXPECT_EQ(nullptr, box.owner);
}

LANGUAGE_TEST_F(Locate, WorkingPathTooLongIsRefusedNotCut)
{
    const std::string folder = "C:\\tinysetup-tests\\locate-long\\";
    auto pathOfLength = [&](size_t length) {
        return folder + std::string(length - folder.size() - 10, 'a') + "\\SETUP.EXE";
    };
    ASSERT_EQ(259u, pathOfLength(259).size());
    EXPECT_TRUE(SetWorkingPath(testPackage, pathOfLength(259).c_str()));
    EXPECT_EQ(pathOfLength(259), std::string(testPackage.sourceDir) + testPackage.exeName);
    for (size_t length : {260u, 261u, 300u}) {
        SCOPED_TRACE("length " + std::to_string(length));
        EXPECT_FALSE(SetWorkingPath(testPackage, pathOfLength(length).c_str()));
    }

    MessageBoxRecorder recorder(IDOK);
    EXPECT_EQ(1, ProgramEntry(GetModuleHandleA(nullptr), ("x " + pathOfLength(300)).c_str()));
    ASSERT_EQ(1u, recorder.boxes.size());
    EXPECT_EQ(std::string(LoadMessage(IDS_NO_INFORMATION)), recorder.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), recorder.boxes[0].style);
    EXPECT_FALSE(recorder.boxes[0].hasCaption);
}

LANGUAGE_TEST_F(Locate, SetupFileNameTooLongIsRefusedNotCut)
{
    const std::string folder = "C:\\tinysetup-tests\\locate-long\\";
    // 259 characters with ".EXE": the ".INF" name fits, the suffixed names do not.
    std::string exe = folder + std::string(259 - folder.size() - 10, 'b') + "\\SETUP.EXE";
    ASSERT_EQ(259u, exe.size());
    LocateSetupInformation(testPackage, exe.c_str());
    EXPECT_EQ(exe.substr(0, exe.size() - 3) + "INF", testPackage.infPath);

    // Without an extension, even the ".INF" name is too long: no name at all.
    std::string bare = folder + std::string(259 - folder.size() - 6, 'c') + "\\SETUP";
    ASSERT_EQ(259u, bare.size());
    LocateSetupInformation(testPackage, bare.c_str());
    EXPECT_STREQ("", testPackage.infPath);
    EXPECT_STREQ("", testPackage.infName);
}
