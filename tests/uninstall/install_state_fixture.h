// Base fixture of the uninstaller's unit tests: installState and the package filled for an
// installation in a temporary folder of the test's own; installState is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "setup/install_state.h"
#include "support/test_support.h"

class InstallStateTest : public ::testing::Test {
protected:
    explicit InstallStateTest(const char* folderName) : root(folderName) {}

    void SetUp() override
    {
        saved = installState;
        installState = InstallState{};
        testPackage = Package{};
        installState.instance = GetModuleHandleA(nullptr);
        installDir = root / "App\\";
        menuFolder = root / "Menu\\TinySetupTest Removal";
        Copy(installState.installDir, installDir);
        Copy(testPackage.sourceDir, installDir);
        Copy(testPackage.exeName, "TQSETUP.EXE");
        Copy(testPackage.infPath, installDir + "TQSETUP.INF");
        Copy(testPackage.infName, "TQSETUP.INF");
        Copy(testPackage.title, "TinySetupTest Removal");
        Copy(installState.menuDir, menuFolder);
        CreateDirectoryA(installDir.c_str(), nullptr);
    }

    void TearDown() override
    {
        installState = saved;
        testPackage = Package{};
    }

    template <size_t N> static void Copy(char (&field)[N], const std::string& text)
    {
        ASSERT_LT(text.size(), N) << text;
        lstrcpyA(field, text.c_str());
    }

    TempFolder root;
    std::string installDir;  // ends with a separator
    std::string menuFolder;
    InstallState saved;
};
