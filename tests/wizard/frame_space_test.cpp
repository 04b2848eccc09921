// Free space of the destination drive and the space an installation needs, measured on drives
// of known size (T: 1300 MB, U: 1200 MB, W: 8 PB, mounted by the drives fixture) and on
// packages of sparse files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/install_state.h"
#include "support/test_support.h"
#include "wizard/folder_page.h"

namespace {

constexpr unsigned long long kMiB = 1ull << 20;

// Saves the record and the current directory, and puts them back after the test.
class WizardFrameSpace : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = installState;
        GetCurrentDirectoryA(sizeof savedDirectory_, savedDirectory_);
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(savedDirectory_);
        installState = saved_;
    }

private:
    InstallState saved_;
    char savedDirectory_[MAX_PATH];
};

// A file of the given size whose bytes are never written (sparse where the disk allows).
bool WriteSizedFile(const std::string& path, unsigned long long size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

void SetText(char* field, size_t capacity, const std::string& text)
{
    ASSERT_LT(text.size(), capacity);
    lstrcpynA(field, text.c_str(), static_cast<int>(capacity));
}

struct FreeSpaceCase {
    const char* installDir;
    const char* currentDirectory;  // nullptr: leave it
    unsigned expected;
};

TEST_F(WizardFrameSpace, FreeSpaceOfTheDestinationDrive)
{
    const FreeSpaceCase cases[] = {
        {"T:\\Game\\", nullptr, 1300},
        {"U:\\Deep\\Er\\Game\\", nullptr, 1200},
        {"u:/Game/", nullptr, 1200},
        // More megabytes than 32 bits hold: all bits set.
        {"W:\\Game\\", nullptr, 4294967295u},
        // A single leading separator names the drive of the current directory.
        {"\\Game\\", "T:\\", 1300},
        {"Game\\", "U:\\", 1200},
        // No such drive, no path at all: unknown, counted as nothing free.
        {"Q:\\Game\\", nullptr, 0},
        {"", nullptr, 0},
    };
    for (const FreeSpaceCase& row : cases) {
        SCOPED_TRACE(std::string("installDir ") + row.installDir);
        if (row.currentDirectory != nullptr) {
            ASSERT_TRUE(SetCurrentDirectoryA(row.currentDirectory)) << "is the drives fixture mounted?";
        }
        SetText(installState.installDir, sizeof installState.installDir, row.installDir);
        EXPECT_EQ(row.expected, FreeSpaceMegabytes());
    }
}

TEST_F(WizardFrameSpace, FreeSpaceOfTheSystemDriveMatchesThePlatform)
{
    TempFolder folder("wizard_frame_space_c");
    SetText(installState.installDir, sizeof installState.installDir, folder / "Not\\Yet\\");
    ULARGE_INTEGER available = {}, total = {}, totalFree = {};
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &totalFree));
    unsigned long long expected = available.QuadPart >> 20;
    unsigned measured = FreeSpaceMegabytes();
    EXPECT_GT(measured, 0u);
    // Other programs may write meanwhile: allow a few megabytes.
    EXPECT_LE(measured > expected ? measured - expected : expected - measured, 16u)
        << "measured " << measured << " MB, platform " << expected << " MB";
}

// A package in a folder of its own: SETUP.EXE of exeBytes, SETUP.INF and the listed files.
struct PackageFile {
    std::string name;
    unsigned long long size;
};

struct RequiredCase {
    const char* label;
    std::vector<std::string> entries;  // values of keys 1, 2, ...
    std::vector<PackageFile> files;
    bool reduced;
    unsigned expected;
};

TEST_F(WizardFrameSpace, RequiredMegabytesCountsTheFilesOfTheInstallation)
{
    std::string longDestination(250, 'x');
    const RequiredCase cases[] = {
        // The installer and the setup information file come to exactly 1 MiB.
        {"nothing but the installer", {}, {}, true, 1},
        {"one byte more rounds up", {"a.dat"}, {{"a.dat", 1}}, true, 2},
        {"whole megabytes", {"a.dat", "b.dat"}, {{"a.dat", 3 * kMiB}, {"b.dat", 2 * kMiB}}, true, 6},
        {"destination given", {"a.dat,data\\b.dat"}, {{"a.dat", 3 * kMiB}}, true, 4},
        {"sub folder source", {"data\\c.dat"}, {{"data\\c.dat", 3 * kMiB - 1}}, true, 4},
        {"\"02\" left out of a reduced installation", {"a.dat", "02"}, {{"a.dat", 3 * kMiB}, {"02", 5 * kMiB}}, true, 4},
        {"\"02\" counted in a full installation", {"a.dat", "02"}, {{"a.dat", 3 * kMiB}, {"02", 5 * kMiB}}, false, 9},
        {"only exactly \"02\"", {"02.dat", "020"}, {{"02.dat", 5 * kMiB}, {"020", 1 * kMiB}}, true, 7},
        {"names in another case than the folder's", {"A.DAT", "b.dat"}, {{"a.dat", 3 * kMiB}, {"B.Dat", kMiB}}, true, 5},
        {"missing source counts nothing", {"missing.dat"}, {}, true, 1},
        {"folder as source counts nothing", {"data"}, {{"data\\c.dat", 5 * kMiB}}, true, 1},
        {"destination too long: never copied", {"a.dat," + longDestination}, {{"a.dat", 3 * kMiB}}, true, 1},
        {"large files", {"big.dat"}, {{"big.dat", 5000 * kMiB + 1}}, true, 5002},
    };
    for (const RequiredCase& row : cases) {
        SCOPED_TRACE(row.label);
        TempFolder folder("wizard_frame_required");
        std::string inf = "[Install]\r\nTitle=Frame\r\nFolder=\\Frame\r\n";
        for (size_t i = 0; i < row.entries.size(); ++i)
            inf += std::to_string(i + 1) + "=" + row.entries[i] + "\r\n";
        ASSERT_TRUE(WriteFileBytes(folder / "SETUP.INF", inf));
        ASSERT_TRUE(WriteSizedFile(folder / "SETUP.EXE", kMiB - inf.size()));
        for (const PackageFile& file : row.files) {
            ASSERT_TRUE(WriteFileBytes(folder / file.name, ""));
            ASSERT_TRUE(WriteSizedFile(folder / file.name, file.size)) << file.name;
        }

        ASSERT_TRUE(SetCurrentDirectoryA(folder.path().c_str()));
        SetText(testPackage.infPath, sizeof testPackage.infPath, folder / "SETUP.INF");
        SetText(testPackage.infName, sizeof testPackage.infName, "SETUP.INF");
        SetText(testPackage.exeName, sizeof testPackage.exeName, "SETUP.EXE");
        SetText(installState.installDir, sizeof installState.installDir, "C:\\Frame\\Dest\\");
        testPackage.fileCount = static_cast<int>(row.entries.size());
        installState.reducedInstall = row.reduced;
        EXPECT_EQ(row.expected, RequiredMegabytes(testPackage));
        SetCurrentDirectoryA("C:\\");
    }
}

TEST_F(WizardFrameSpace, RequiredMegabytesTakesAbsoluteSources)
{
    TempFolder folder("wizard_frame_required_abs");
    TempFolder elsewhere("wizard_frame_required_src");
    std::string inf = "[Install]\r\nTitle=Frame\r\nFolder=\\Frame\r\n1=" + (elsewhere / "far.dat") + "\r\n";
    ASSERT_TRUE(WriteFileBytes(folder / "SETUP.INF", inf));
    ASSERT_TRUE(WriteSizedFile(folder / "SETUP.EXE", kMiB - inf.size()));
    ASSERT_TRUE(WriteSizedFile(elsewhere / "far.dat", 2 * kMiB));
    // Not in the current directory: only the absolute name finds it.
    ASSERT_TRUE(WriteSizedFile(folder / "far.dat", 40 * kMiB));

    ASSERT_TRUE(SetCurrentDirectoryA(folder.path().c_str()));
    SetText(testPackage.infPath, sizeof testPackage.infPath, folder / "SETUP.INF");
    SetText(testPackage.infName, sizeof testPackage.infName, "SETUP.INF");
    SetText(testPackage.exeName, sizeof testPackage.exeName, "SETUP.EXE");
    SetText(installState.installDir, sizeof installState.installDir, "C:\\Frame\\Dest\\");
    testPackage.fileCount = 1;
    installState.reducedInstall = true;
    EXPECT_EQ(3u, RequiredMegabytes(testPackage));
    SetCurrentDirectoryA("C:\\");
}

}  // namespace
