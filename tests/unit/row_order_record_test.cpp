#include "app/application_record.h"
#include "support/settings_key_guard.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

TEST(ReverseRowOrder, CopiesByTheRecordsSizeAndMovesRowsByItsArguments) {
    SettingsKeyGuard settings; // the record opens the settings key
    ApplicationRecord record;
    record.width = 2;
    record.height = 2; // copies 12 bytes
    const unsigned char source[18] = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3};
    Bytes destination(18, 0xBD);
    ASSERT_TRUE(record.ReverseRowOrder(source, destination.data(), 2, 3));
    // Rows 0 and 1 were copied, row 2 not: swapping rows 0 and 2 brings the sentinel row up.
    const Bytes expected = {0xBD, 0xBD, 0xBD, 0xBD, 0xBD, 0xBD, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(expected, destination);
}

TEST(ReverseRowOrder, RefusesRowsBeyondAFrameBufferOnEveryBuild) {
    SettingsKeyGuard settings;
    ApplicationRecord record;
    unsigned char block[6] = {1, 2, 3, 4, 5, 6};
    const Bytes before(block, block + 6);
    // 12.9 GB: a 64-bit size_t holds it, so only the buffer's size stops it.
    record.width = 0x7FFFFFFF;
    record.height = 2;
    EXPECT_FALSE(record.ReverseRowOrder(block, block, 1, 2));
    record.width = 1;
    record.height = 1;
    EXPECT_FALSE(record.ReverseRowOrder(block, block, 0x7FFFFFFF, 2));
    EXPECT_EQ(before, Bytes(block, block + 6));
}

} // namespace
