// A drive that fills up while the files are copied (V:, 64 MB, mounted by the drives fixture):
// the failure names its cause, the closing texts do not speak of success, the registration
// stays, and the uninstall afterwards removes the partial installation and nothing of the
// user's on that drive.
#include <gtest/gtest.h>

#include <windows.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "copy_test_helpers.h"
#include "frame_package.h"
#include "support/end_to_end_test.h"
#include "support/expected_messages.h"
#include "uninstall/pending_renames.h"
#include "res/resource.h"

namespace {

constexpr unsigned long long kMiB = 1ull << 20;
const char kTitle[] = "Frame Full Drive";
const std::string kIncomplete = ExpectedText(40, MessageLanguage::English);

// Fills path with real bytes (a sparse file would take no room on the drive).
bool WriteFilledFile(const std::string& path, unsigned long long size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> chunk(kMiB, 'v');
    bool ok = true;
    for (unsigned long long left = size; ok && left > 0;) {
        DWORD piece = static_cast<DWORD>(left < kMiB ? left : kMiB);
        DWORD written = 0;
        ok = WriteFile(file, chunk.data(), piece, &written, nullptr) && written == piece;
        left -= piece;
    }
    CloseHandle(file);
    return ok;
}

unsigned long long FreeBytes(const char* root)
{
    ULARGE_INTEGER available = {}, total = {}, totalFree = {};
    return GetDiskFreeSpaceExA(root, &available, &total, &totalFree) ? available.QuadPart : 0;
}

class WizardFullDrive : public EndToEndTest {
protected:
    void TearDown() override
    {
        EndToEndTest::TearDown();
        for (const char* file : {"V:\\Photos\\beach.jpg", "V:\\Photos\\holiday.avi"})
            DeleteFileA(file);
        RemoveDirectoryA("V:\\Photos");
        for (const char* file : {"V:\\FrameFull\\Puzzle\\SETUP.EXE", "V:\\FrameFull\\Puzzle\\SETUP.INF",
                                 "V:\\FrameFull\\Puzzle\\small.txt", "V:\\FrameFull\\Puzzle\\big.dat",
                                 "V:\\FrameFull\\Puzzle\\after.txt"})
            DeleteFileA(file);
        RemoveDirectoryA("V:\\FrameFull\\Puzzle");
        RemoveDirectoryA("V:\\FrameFull");
    }

    UninstallEntryGuard uninstallEntry{"TinySetupFrameFullDrive"};
    ApplicationKeyGuard applicationKey;
    PendingRenamesGuard pendingRenames;
};

TEST_F(WizardFullDrive, DriveFilledDuringTheCopyEndsWithoutClaimingSuccess)
{
    ASSERT_GE(FreeBytes("V:\\"), 48 * kMiB) << "is the drives fixture mounted?";
    FramePackage package("wizard_frame_full_drive",
                         std::string("Title=") + kTitle + "\r\nFolder=\\FrameFull\\Puzzle\r\n"
                         "InstallKey=TinySetupFrameFullDrive\r\n1=small.txt\r\n2=big.dat\r\n3=after.txt\r\n");
    ASSERT_TRUE(WriteFileBytes(package.folder / "small.txt", "small"));
    ASSERT_TRUE(WriteFileBytes(package.folder / "after.txt", "after"));
    ASSERT_TRUE(WriteSizedFile(package.folder / "big.dat", 16 * kMiB));
    ASSERT_TRUE(WriteFileBytes("V:\\Photos\\beach.jpg", "the user's own"));

    ProgramRun run;
    HWND sheet = StartWizard(run, package, ExpectedText(IDS_WIZARD_CAPTION, MessageLanguage::English, {kTitle}));
    ASSERT_NE(nullptr, sheet);
    ASSERT_TRUE(SetControlText(CurrentPage(sheet), 1001, "V:\\FrameFull\\Puzzle"));
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_NEXT));
    HWND menuPage = WaitForPageWith(sheet, 1007);
    ASSERT_NE(nullptr, menuPage) << "the files fit when the folder page measured them";
    ASSERT_TRUE(SetCheck(menuPage, 1007, false));
    ASSERT_TRUE(SetCheck(menuPage, 1006, false));

    // Meanwhile the user's own download takes the drive down to 4 MB.
    ASSERT_TRUE(WriteFilledFile("V:\\Photos\\holiday.avi", FreeBytes("V:\\") - 4 * kMiB));
    ASSERT_TRUE(WaitForWizardButton(sheet, kNextButtonId));
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_NEXT));
    HWND copyPage = WaitForPageWith(sheet, 1008);
    ASSERT_NE(nullptr, copyPage);

    // Every failure box until Finish: the first is big.dat's, with the system's reason.
    std::vector<std::string> failures;
    WaitUntil(
        [&] {
            HWND box = nullptr;
            for (HWND window : DialogsOf(run.processId)) {
                if (window != sheet)
                    box = window;
            }
            if (box != nullptr) {
                failures.push_back(ReadMessageBox(box).text);
                PressButton(box, IDOK);
                WaitGone(box);
            }
            return ControlEnabled(sheet, 0x3025);
        },
        60000);
    ASSERT_FALSE(failures.empty()) << "the copy onto the full drive was not reported";
    const std::string head = ExpectedText(IDS_COPY_FAILED, MessageLanguage::English, {"big.dat"}) + "\n\n";
    EXPECT_EQ(head, failures[0].substr(0, head.size())) << failures[0];
    EXPECT_GT(failures[0].size(), head.size()) << "the platform's reason follows the message";

    EXPECT_EQ(kIncomplete, ControlText(copyPage, 1008));
    ASSERT_TRUE(PressWizardButton(sheet, PSBTN_FINISH));
    ShownBox closing = AnswerBox(run.processId, IDOK);
    EXPECT_EQ(kIncomplete, closing.info.text);
    EXPECT_EQ(kTitle, closing.info.caption);
    EXPECT_TRUE(closing.iconShown);
    EXPECT_EQ(1, run.WaitExit());
    EXPECT_EQ("\"V:\\FrameFull\\Puzzle\\SETUP.EXE\" /r",
              ReadRegistryValue(HKEY_LOCAL_MACHINE, uninstallEntry.path().c_str(), "UninstallString").text())
        << "registered, so that the partial installation can be removed";
    EXPECT_EQ("small", ReadFileBytes("V:\\FrameFull\\Puzzle\\small.txt"));

    // The uninstall removes what was installed, and nothing of the user's.
    std::string worker = package.folder / "worker\\SETUP.EXE";
    ASSERT_TRUE(CopyProgram(worker));
    ProgramRun removal;
    ASSERT_TRUE(removal.Start(worker, "x V:\\FrameFull\\Puzzle\\SETUP.EXE"));
    HWND dialog = WaitForDialogWithControl(removal.processId, 1009);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(WaitUntil([&] { return ControlEnabled(dialog, IDCANCEL); }, 20000));
    EXPECT_EQ(1u, DialogsOf(removal.processId).size()) << "no failure while removing";
    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(1, removal.WaitExit());
    EXPECT_FALSE(FolderExists("V:\\FrameFull"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, uninstallEntry.path().c_str()));
    EXPECT_EQ("the user's own", ReadFileBytes("V:\\Photos\\beach.jpg"));
    EXPECT_TRUE(FileExists("V:\\Photos\\holiday.avi"));
}

}  // namespace
