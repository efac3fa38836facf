#include "frame/row_order.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// Row r of a frame: every byte of it says which row it is and where in the
// row it stands, so any misplaced byte shows.
Bytes NumberedRows(int width, int height) {
    Bytes rows;
    for (int r = 0; r < height; ++r) {
        for (int i = 0; i < width * 3; ++i) {
            rows.push_back(static_cast<unsigned char>(r * 16 + i));
        }
    }
    return rows;
}

Bytes RowsInOrder(const Bytes& rows, int width, const std::vector<int>& order) {
    Bytes out;
    for (int r : order) {
        out.insert(out.end(), rows.begin() + r * width * 3, rows.begin() + (r + 1) * width * 3);
    }
    return out;
}

// Every height, and frames with no rows or columns, are reversed in place
// and into a block of exactly their size against rows mirrored by hand, for
// every seed of the fuzz corpus and its mutations (frame_invariants_test).
// Here: nothing is written past the destination's end.
TEST(ReverseRows, OutOfPlaceFillsTheDestinationAndLeavesTheSource) {
    const Bytes source = NumberedRows(3, 4);
    Bytes copy = source;
    Bytes destination(source.size() + 8, 0xBD); // sentinel bytes past the end
    ASSERT_TRUE(ReverseRows(copy.data(), destination.data(), copy.size(), 3, 4));
    EXPECT_EQ(source, copy);
    EXPECT_EQ(RowsInOrder(source, 3, {3, 2, 1, 0}),
              Bytes(destination.begin(), destination.begin() + source.size()));
    for (size_t i = source.size(); i < destination.size(); ++i) {
        EXPECT_EQ(0xBD, destination[i]) << "byte " << i << " past the frame was written";
    }
}

} // namespace
