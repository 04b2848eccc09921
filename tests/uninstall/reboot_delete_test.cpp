// Deferred deletion: the platform's delayed deletion, and the "rename" section of the real
// "wininit.ini" in the prefix's Windows folder, which each test saves and puts back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pending_renames.h"
#include "support/test_support.h"
#include "uninstall/reboot_delete.h"

namespace {

std::string WininitPath()
{
    char windowsDir[MAX_PATH];
    GetWindowsDirectoryA(windowsDir, MAX_PATH);
    return std::string(windowsDir) + "\\wininit.ini";
}

// The profile functions keep files they have read in a cache; this makes them read afresh.
void FlushProfileCache()
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "wininit.ini");
}

std::vector<std::string> RenameLines()
{
    std::vector<char> image(65536);
    DWORD length = GetPrivateProfileSectionA("rename", image.data(), static_cast<DWORD>(image.size()), "wininit.ini");
    std::vector<std::string> lines;
    for (DWORD p = 0; p < length && image[p] != '\0'; p += static_cast<DWORD>(lines.back().size()) + 1)
        lines.push_back(image.data() + p);
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += line + " | ";
    return all;
}

class WininitTest : public ::testing::Test {
protected:
    WininitTest() : folder("uninstall-wininit"), worker(folder / "worker copy.exe") {}

    void SetUp() override
    {
        existed = FileExists(WininitPath());
        if (existed)
            original = ReadFileBytes(WininitPath());
        DeleteFileA(WininitPath().c_str());
        FlushProfileCache();
        ASSERT_TRUE(WriteFileBytes(worker, "worker"));
        char shortPath[MAX_PATH];
        DWORD length = GetShortPathNameA(worker.c_str(), shortPath, MAX_PATH);
        ASSERT_TRUE(length > 0 && length < MAX_PATH);
        entry = std::string("NUL=") + shortPath;
        ASSERT_NE(entry, "NUL=" + worker) << "the test needs a path whose short form differs";
    }

    void TearDown() override
    {
        DeleteFileA(WininitPath().c_str());
        if (existed)
            WriteFileBytes(WininitPath(), original);
        FlushProfileCache();
    }

    void WriteSection(const std::vector<std::string>& lines)
    {
        std::string image;
        for (const std::string& line : lines)
            image += line + '\0';
        image += '\0';
        ASSERT_TRUE(WritePrivateProfileSectionA("rename", image.c_str(), "wininit.ini"));
    }

    TempFolder folder;
    std::string worker;
    std::string entry;
    bool existed = false;
    std::string original;
};

TEST_F(WininitTest, NewSectionHoldsTheOneLine)
{
    ScheduleDeleteInWininit(worker.c_str());
    FlushProfileCache();
    EXPECT_EQ(std::vector<std::string>{entry}, RenameLines());
    EXPECT_NE(std::string::npos, ReadFileBytes(WininitPath()).find("[rename]")) << ReadFileBytes(WininitPath());
}

TEST_F(WininitTest, ExistingLinesStayInTheirOrderAndTheNewOneFollows)
{
    std::vector<std::string> earlier = {"NUL=C:\\OLD1.EXE", "C:\\NEW.DLL=C:\\TEMP\\NEW.DLL", "NUL=C:\\OLD2.EXE"};
    WriteSection(earlier);
    ASSERT_TRUE(WritePrivateProfileStringA("other", "kept", "yes", "wininit.ini"));
    FlushProfileCache();
    ASSERT_EQ(earlier, RenameLines()) << "several NUL lines can stand side by side";

    ScheduleDeleteInWininit(worker.c_str());
    FlushProfileCache();

    std::vector<std::string> expected = earlier;
    expected.push_back(entry);
    EXPECT_EQ(expected, RenameLines()) << Joined(RenameLines());
    char kept[16];
    GetPrivateProfileStringA("other", "kept", "", kept, sizeof kept, "wininit.ini");
    EXPECT_STREQ("yes", kept);
}

TEST_F(WininitTest, TheSameLineIsNeverWrittenTwice)
{
    std::string otherCase = entry;
    CharLowerA(&otherCase[4]);
    ASSERT_NE(entry, otherCase);
    WriteSection({"NUL=C:\\OLD1.EXE", otherCase});

    ScheduleDeleteInWininit(worker.c_str());
    ScheduleDeleteInWininit(worker.c_str());
    FlushProfileCache();
    // A line that differs only in case is another line.
    EXPECT_EQ((std::vector<std::string>{"NUL=C:\\OLD1.EXE", otherCase, entry}), RenameLines()) << Joined(RenameLines());

    // The same with an empty section to begin with.
    WriteSection({});
    DeleteFileA(WininitPath().c_str());
    FlushProfileCache();
    ScheduleDeleteInWininit(worker.c_str());
    FlushProfileCache();
    ScheduleDeleteInWininit(worker.c_str());
    FlushProfileCache();
    EXPECT_EQ(std::vector<std::string>{entry}, RenameLines());
}

// The text of a "rename" section whose lines, each with its NUL, take exactly size bytes.
std::string SectionOfSize(size_t size)
{
    std::string text = "[rename]\r\n";
    for (size_t left = size; left > 0;) {
        size_t line = left > 202 ? 101 : left;  // with its NUL; never below 102
        text += "NUL=C:\\" + std::string(line - 12, '7') + ".EXE\r\n";
        left -= line;
    }
    return text;
}

TEST_F(WininitTest, ASectionTooLargeToHoldIsLeftAlone)
{
    // The image is read with 32767 characters and must keep room for the new line and the
    // two closing NULs.
    size_t fits = 32767 - entry.size() - 2;
    struct Case {
        size_t size;
        bool written;
    } cases[] = {{fits, true}, {fits + 1, false}, {32764, false}, {40000, false}};
    for (const Case& row : cases) {
        SCOPED_TRACE("section of " + std::to_string(row.size) + " bytes");
        std::string text = SectionOfSize(row.size);
        ASSERT_TRUE(WriteFileBytes(WininitPath(), text));
        FlushProfileCache();

        ScheduleDeleteInWininit(worker.c_str());
        FlushProfileCache();

        std::string after = ReadFileBytes(WininitPath());
        EXPECT_EQ(row.written, after.find(entry) != std::string::npos);
        if (!row.written) {
            EXPECT_EQ(text, after) << "nothing written";
        }
    }
}

TEST_F(WininitTest, NoShortPathWritesNothing)
{
    std::string missing = folder / "no such worker.exe";
    ScheduleDeleteInWininit(missing.c_str());
    FlushProfileCache();
    EXPECT_FALSE(FileExists(WininitPath())) << ReadFileBytes(WininitPath());
}

TEST_F(WininitTest, DelayedDeletionOfThePlatformLeavesWininitAlone)
{
    PendingRenamesGuard pending;
    ScheduleDeleteOnReboot(worker.c_str());
    FlushProfileCache();
    EXPECT_FALSE(FileExists(WininitPath())) << ReadFileBytes(WininitPath());
    EXPECT_TRUE(PendingDeletionOf(worker)) << "PendingFileRenameOperations";
    EXPECT_TRUE(FileExists(worker)) << "deleted only at the next start";
}

}  // namespace
