// CenterWindow with windows smaller and larger than the screen.
#include <gtest/gtest.h>

#include "base/window.h"

namespace {

RECT CenteredRect(int width, int height)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 5, 7, width, height, nullptr, nullptr, nullptr, nullptr);
    CenterWindow(window);
    RECT rect;
    GetWindowRect(window, &rect);
    DestroyWindow(window);
    return rect;
}

TEST(CenterWindow, CentresAndTruncatesTowardZero)
{
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);

    RECT small = CenteredRect(101, 51);
    EXPECT_EQ((screenWidth - 101) / 2, small.left);
    EXPECT_EQ((screenHeight - 51) / 2, small.top);
    EXPECT_EQ(101, small.right - small.left);  // not resized

    // Larger than the screen by an odd amount: a negative position, truncated toward zero.
    int wide = screenWidth + 201;
    int tall = screenHeight + 101;
    RECT large = CenteredRect(wide, tall);
    EXPECT_EQ(-100, large.left);
    EXPECT_EQ(-50, large.top);
}

}  // namespace
