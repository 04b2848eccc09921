// Shared ground for the setup-data tests: a fresh InstallState and package, a setup information
// file of the test's own in a temporary folder, and the registry places the loader reads.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <string>

#include "base/path.h"
#include "base/registry_key.h"
#include "setup/entries.h"
#include "setup/install_state.h"
#include "support/test_support.h"

// Uninstall entries made by the tests all begin with this, so that a failed run is easy to
// recognise and clean up.
constexpr const char* kTestEntryPrefix = "TinySetupTest";

// The tables below check a resolution's paths and its flags one after the other: the last one
// resolved is kept here.
inline ResolvedEntry lastEntry;

inline bool Resolve(int i, bool* mayRemove = nullptr, bool* leavesItsFolder = nullptr)
{
    lastEntry = ResolveInstallEntry(testPackage, i);
    if (mayRemove != nullptr)
        *mayRemove = lastEntry.mayRemove;
    if (leavesItsFolder != nullptr)
        *leavesItsFolder = lastEntry.leavesItsFolder;
    return lastEntry.resolved;
}

inline bool ResolveGroup(int i)
{
    lastEntry = ResolveGroupEntry(testPackage, i);
    return lastEntry.resolved;
}

inline std::string UninstallEntryPath(const std::string& key)
{
    return std::string(kUninstallKey) + "\\" + key;
}

inline std::string ShellFolder(const char* name)
{
    return ReadRegistryValue(HKEY_CURRENT_USER, kShellFoldersKey, name).text();
}


inline std::string WindowsFolder()
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof folder);
    return folder;
}

class SetupDataTest : public ::testing::Test {
protected:
    explicit SetupDataTest(const char* folderName = "setup-data") : folder_(folderName)
    {
        installState = InstallState{};
        testPackage = Package{};
        installState.instance = GetModuleHandleA(nullptr);
        CopyText(testPackage.exeName, "SETUP.EXE");
    }

    // Writes the setup information file (bytes as given) and points infPath at it.
    void WriteSetupFile(const std::string& text, const char* name = "SETUP.INF")
    {
        std::string path = folder_ / name;
        ASSERT_TRUE(WriteFileBytes(path, text));
        ASSERT_TRUE(CopyText(testPackage.infPath, path.c_str()));
        ASSERT_TRUE(CopyText(testPackage.infName, name));
    }

    void SetInstallDir(const std::string& dir) { ASSERT_TRUE(CopyText(installState.installDir, dir.c_str())); }

    TempFolder folder_;
};
