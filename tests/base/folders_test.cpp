// Folder creation against the real file system, with the failure it hands back.
#include <gtest/gtest.h>

#include "base/folders.h"
#include "base/path.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {

class FolderCreation : public ::testing::Test {
protected:
    TempFolder folder{"folders"};
    FolderFailure failure{};
};

TEST_F(FolderCreation, MakesEveryLevelAndLeavesTheArgumentAlone)
{
    std::string target = folder / "a\\b\\c\\";
    char path[kPathCapacity];
    CopyText(path, target.c_str());
    EXPECT_TRUE(CreateFolderTree(path, &failure));
    EXPECT_EQ(target, path);
    EXPECT_TRUE(FolderExists(folder / "a\\b\\c"));

    // Again: every level exists, nothing to report.
    EXPECT_TRUE(CreateFolderTree(path, &failure));
    EXPECT_EQ(0, failure.messageId);
}

TEST_F(FolderCreation, WithoutTrailingSeparatorTheLastLevelIsNotMade)
{
    char path[kPathCapacity];
    CopyText(path, (folder / "a\\b").c_str());
    EXPECT_TRUE(CreateFolderTree(path, &failure));
    EXPECT_TRUE(FolderExists(folder / "a"));
    EXPECT_FALSE(FolderExists(folder / "a\\b"));
}

TEST_F(FolderCreation, AFileInTheWayIsMessage5AndStopsTheWalk)
{
    ASSERT_TRUE(WriteFileBytes(folder / "a", "x"));
    std::string target = folder / "a\\b\\";
    char path[kPathCapacity];
    CopyText(path, target.c_str());
    EXPECT_FALSE(CreateFolderTree(path, &failure));
    EXPECT_EQ(target, path);
    EXPECT_EQ(IDS_FOLDER_IS_FILE, failure.messageId);
    EXPECT_EQ(folder / "a", failure.path);
}

TEST_F(FolderCreation, ALevelThatCannotBeMadeIsMessage6AndEarlierLevelsStay)
{
    // A name with "?" cannot be created; the level above it is made first and stays.
    std::string target = folder / "made\\bad?name\\deeper\\";
    char path[kPathCapacity];
    CopyText(path, target.c_str());
    EXPECT_FALSE(CreateFolderTree(path, &failure));
    EXPECT_EQ(target, path);
    EXPECT_TRUE(FolderExists(folder / "made"));
    EXPECT_FALSE(FolderExists(folder / "made\\bad?name\\deeper"));
    EXPECT_EQ(IDS_FOLDER_FAILED, failure.messageId);
    EXPECT_EQ(folder / "made\\bad?name", failure.path);
    EXPECT_NE(0u, failure.error);
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
    EXPECT_FALSE(CreateFolderTree(path, &failure));
    EXPECT_FALSE(FolderExists(folder / "x"));
    EXPECT_EQ(IDS_FOLDER_FAILED, failure.messageId);

    CopyText(path, (slashed + "x/").c_str());
    EXPECT_TRUE(CreateFolderTree(path, &failure));
    EXPECT_TRUE(FolderExists(folder / "x"));
}

TEST_F(FolderCreation, ARootNeedsNothing)
{
    char root[] = "C:\\";
    EXPECT_TRUE(CreateFolderLevel(root, &failure));
    char missingDrive[] = "Q:\\";  // not even looked at
    EXPECT_TRUE(CreateFolderLevel(missingDrive, &failure));
}

}  // namespace
