// Base fixture of the end-to-end tests: after each test it saves a screenshot when the test
// failed and ends every program the test started (and what those started) that still runs.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"
#include "window_driver.h"

class EndToEndTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Copies the built setup.exe into folder under name and returns the copy's path.
    static std::string CopyProgramTo(const TempFolder& folder, const std::string& name = "SETUP.EXE");
};
