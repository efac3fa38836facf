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

unsigned long long FrameBytes(int width, int height) {
    return static_cast<unsigned long long>(width) * height * 3u;
}

TEST(ReverseRows, SwapsRowsAsWholesAndKeepsTheMiddleOfAnOddHeight) {
    struct Case {
        int height;
        std::vector<int> expected;
    } cases[] = {{1, {0}}, {2, {1, 0}}, {3, {2, 1, 0}}, {4, {3, 2, 1, 0}}, {5, {4, 3, 2, 1, 0}}};
    for (const Case& c : cases) {
        Bytes frame = NumberedRows(2, c.height);
        const Bytes original = frame;
        ASSERT_TRUE(ReverseRows(frame.data(), frame.data(), FrameBytes(2, c.height), 2, c.height));
        EXPECT_EQ(RowsInOrder(original, 2, c.expected), frame) << "height " << c.height;
    }
}

TEST(ReverseRows, TwiceRestoresTheFirstOrder) {
    Bytes frame = NumberedRows(5, 7);
    const Bytes original = frame;
    ASSERT_TRUE(ReverseRows(frame.data(), frame.data(), frame.size(), 5, 7));
    EXPECT_NE(original, frame);
    ASSERT_TRUE(ReverseRows(frame.data(), frame.data(), frame.size(), 5, 7));
    EXPECT_EQ(original, frame);
}

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

TEST(ReverseRows, EmptyFramesMoveNothing) {
    Bytes block(12, 0xBD);
    EXPECT_TRUE(ReverseRows(block.data(), block.data(), 0, 0, 4));
    EXPECT_TRUE(ReverseRows(block.data(), block.data(), 0, 4, 0));
    EXPECT_EQ(Bytes(12, 0xBD), block);
}

TEST(ReverseRows, RowsTooLargeToAddressLeaveTheBlockAsItWas) {
    if (sizeof(std::size_t) != 4) {
        GTEST_SKIP() << "only a 32-bit address space is too small for these";
    }
    Bytes source(6, 1);
    Bytes destination(6, 0xBD);
    // A 32-bit process cannot hold a row of 0x7FFFFFFF x 3 bytes: no copy,
    // no move, nothing written.
    EXPECT_FALSE(ReverseRows(source.data(), destination.data(), 6, 0x7FFFFFFF, 2));
    EXPECT_FALSE(ReverseRows(source.data(), destination.data(), 6, -1, 2));
    EXPECT_EQ(Bytes(6, 0xBD), destination);
}

} // namespace
