#include "app/main_window.h"

#include <gtest/gtest.h>

namespace {

TEST(OuterWindowExtent, AddsTheBorderAndCannotOverflow) {
    EXPECT_EQ(649, OuterWindowExtent(640, 9));
    EXPECT_EQ(522, OuterWindowExtent(480, 42));
    EXPECT_EQ(0x7FFFFFFF, OuterWindowExtent(0x7FFFFFFF, 42));
    EXPECT_EQ(0x7FFFFFFF, OuterWindowExtent(0x7FFFFFFF - 5, 9));
}

} // namespace
