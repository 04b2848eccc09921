// Base fixture of the end-to-end tests: screenshot on failure, no process left behind.
#include "end_to_end_test.h"

void EndToEndTest::TearDown()
{
    // The screen first: ending the programs would close the windows that show what went wrong.
    ScreenshotIfFailed();
    KillStartedProcesses();
}

std::string EndToEndTest::CopyProgramTo(const TempFolder& folder, const std::string& name)
{
    std::string path = folder / name;
    EXPECT_TRUE(CopyProgram(path)) << "copying " << SETUP_EXE_PATH << " to " << path;
    return path;
}
