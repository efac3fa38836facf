#include "app/main_window.h"

#include <gtest/gtest.h>

namespace {

// What it adds shows in the window's own size (main_window_test).
TEST(OuterWindowExtent, CannotOverflow) {
    EXPECT_EQ(0x7FFFFFFF, OuterWindowExtent(0x7FFFFFFF, 42));
    EXPECT_EQ(0x7FFFFFFF, OuterWindowExtent(0x7FFFFFFF - 5, 9));
}

} // namespace
