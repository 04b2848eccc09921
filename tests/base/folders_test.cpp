// Folder creation against the real file system, with the user's messages observed.
#include <gtest/gtest.h>

#include "base/folders.h"
#include "base/path.h"
#include "res/resource.h"
#include "support/expected_messages.h"
#include "support/test_support.h"

namespace {

class FolderCreation : public ::testing::Test {
protected:
    TempFolder folder{"folders"};
    MessageBoxRecorder boxes;
};

TEST_F(FolderCreation, MakesEveryLevelAndLeavesTheArgumentAlone)
{
    std::string target = folder / "a\\b\\c\\";
    char path[kPathCapacity];
    CopyText(path, target.c_str());
    EXPECT_TRUE(CreateFolderTree(path, nullptr));
    EXPECT_EQ(target, path);
    EXPECT_TRUE(FolderExists(folder / "a\\b\\c"));
    EXPECT_TRUE(boxes.boxes.empty());

    // Again: every level exists, nothing to report.
    EXPECT_TRUE(CreateFolderTree(path, nullptr));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(FolderCreation, WithoutTrailingSeparatorTheLastLevelIsNotMade)
{
    char path[kPathCapacity];
    CopyText(path, (folder / "a\\b").c_str());
    EXPECT_TRUE(CreateFolderTree(path, nullptr));
    EXPECT_TRUE(FolderExists(folder / "a"));
    EXPECT_FALSE(FolderExists(folder / "a\\b"));
}

TEST_F(FolderCreation, AFileInTheWayIsMessage5AndStopsTheWalk)
{
    ASSERT_TRUE(WriteFileBytes(folder / "a", "x"));
    std::string target = folder / "a\\b\\";
    char path[kPathCapacity];
    CopyText(path, target.c_str());
    EXPECT_FALSE(CreateFolderTree(path, nullptr));
    EXPECT_EQ(target, path);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(ExpectedText(IDS_FOLDER_IS_FILE, MessageLanguage::English, {folder / "a"}), boxes.boxes[0].text);
    EXPECT_FALSE(boxes.boxes[0].hasCaption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.boxes[0].style);
    EXPECT_EQ(nullptr, boxes.boxes[0].owner);
}

TEST_F(FolderCreation, ALevelThatCannotBeMadeIsMessage6AndEarlierLevelsStay)
{
    // A name with "?" cannot be created; the level above it is made first and stays.
    std::string target = folder / "made\\bad?name\\deeper\\";
    char path[kPathCapacity];
    CopyText(path, target.c_str());
    HWND owner = reinterpret_cast<HWND>(0x1234);
    EXPECT_FALSE(CreateFolderTree(path, owner));
    EXPECT_EQ(target, path);
    EXPECT_TRUE(FolderExists(folder / "made"));
    EXPECT_FALSE(FolderExists(folder / "made\\bad?name\\deeper"));
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(ExpectedText(IDS_FOLDER_FAILED, MessageLanguage::English, {folder / "made\\bad?name"}), boxes.boxes[0].text);
    EXPECT_EQ(owner, boxes.boxes[0].owner);
}

TEST_F(FolderCreation, ASlashAfterTheDriveMakesOneLevelOnly)
{
    // "C:/..." is not walked: one CreateFolderLevel for the whole path, which fails when the
    // parent is missing.
    std::string slashed = folder.path();
    for (char& c : slashed)
        if (c == '\\')
            c = '/';
    char path[kPathCapacity];
    CopyText(path, (slashed + "x/y/").c_str());
    EXPECT_FALSE(CreateFolderTree(path, nullptr));
    EXPECT_FALSE(FolderExists(folder / "x"));
    ASSERT_EQ(1u, boxes.boxes.size());

    CopyText(path, (slashed + "x/").c_str());
    EXPECT_TRUE(CreateFolderTree(path, nullptr));
    EXPECT_TRUE(FolderExists(folder / "x"));
}

TEST_F(FolderCreation, ARootNeedsNothing)
{
    char root[] = "C:\\";
    EXPECT_TRUE(CreateFolderLevel(root, nullptr));
    char missingDrive[] = "Q:\\";  // not even looked at
    EXPECT_TRUE(CreateFolderLevel(missingDrive, nullptr));
    EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
