#include <gtest/gtest.h>
#include "base/path.h"
TEST(Path, Placeholder) { EXPECT_EQ(nullptr, FindRootEnd("dir")); }
