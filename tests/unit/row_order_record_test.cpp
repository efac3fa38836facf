#include "app/application_record.h"
#include "support/settings_key_guard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

TEST(ReverseRowOrder, CopiesByTheRecordsSizeAndMovesRowsByItsArguments) {
    SettingsKeyGuard settings; // the record opens the settings key
    ApplicationRecord record;
    record.width = 2;
    record.height = 2; // copies 12 bytes
    const unsigned char source[18] = {1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3};
    unsigned char destination[18];
    std::fill(destination, destination + 18, 0xBD);
    ASSERT_TRUE(record.ReverseRowOrder(source, destination, 2, 3));
    // Rows 0 and 1 were copied, row 2 was not: the swap of rows 0 and 2
    // brings the untouched sentinel row to the top.
    const Bytes expected = {0xBD, 0xBD, 0xBD, 0xBD, 0xBD, 0xBD, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(expected, Bytes(destination, destination + 18));
}

} // namespace
