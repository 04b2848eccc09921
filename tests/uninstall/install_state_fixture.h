// Base fixture of the uninstaller's unit tests: installState filled for an installation in a
// temporary folder of the test's own, and put back as it was afterwards.
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
        installState.instance = GetModuleHandleA(nullptr);
        installDir = root / "App\\";
        menuFolder = root / "Menu\\TinySetupTest Removal";
        Copy(installState.installDir, installDir);
        Copy(installState.sourceDir, installDir);
        Copy(installState.exeName, "TQSETUP.EXE");
        Copy(installState.infPath, installDir + "TQSETUP.INF");
        Copy(installState.infName, "TQSETUP.INF");
        Copy(installState.title, "TinySetupTest Removal");
        Copy(installState.menuDir, menuFolder);
        CreateDirectoryA(installDir.c_str(), nullptr);
    }

    void TearDown() override { installState = saved; }

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
