#include "frame/bmp_layout.h"
#include "support/memory_sink.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32At(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
unsigned U16At(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8;
}

TEST(BmpLayout, HeadersCarryTheSizesAndFixedValues) {
    MemorySink sink;
    Bytes rows(640 * 480 * 3, 0x11);
    ASSERT_EQ(0u, StreamBmp(rows.data(), 640, 480, sink));
    const Bytes& b = sink.bytes;
    ASSERT_EQ(921654u, b.size());
    EXPECT_EQ('B', b[0]);
    EXPECT_EQ('M', b[1]);
    EXPECT_EQ(921654u, U32At(b, 2));
    EXPECT_EQ(0u, U32At(b, 6)); // both reserved fields
    EXPECT_EQ(54u, U32At(b, 10));
    EXPECT_EQ(40u, U32At(b, 14));
    EXPECT_EQ(640u, U32At(b, 18));
    EXPECT_EQ(480u, U32At(b, 22));
    EXPECT_EQ(1u, U16At(b, 26));
    EXPECT_EQ(24u, U16At(b, 28));
    for (size_t at = 30; at < 54; at += 4) {
        EXPECT_EQ(0u, U32At(b, at)) << "offset " << at;
    }
    // A request for each header, then the unpadded rows in one go.
    EXPECT_EQ((std::vector<std::uint32_t>{14, 40, 921600}), sink.requests);
}

TEST(BmpLayout, RowsArePaddedWithZerosToAMultipleOfFour) {
    MemorySink sink;
    const Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    ASSERT_EQ(0u, StreamBmp(rows.data(), 3, 2, sink));
    ASSERT_EQ(78u, sink.bytes.size());
    EXPECT_EQ(78u, U32At(sink.bytes, 2));
    const Bytes expectedPixels = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 0, 0,
                                  10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
    EXPECT_EQ(expectedPixels, Bytes(sink.bytes.begin() + 54, sink.bytes.end()));
    EXPECT_EQ(12u, BmpStride(3));
    EXPECT_EQ(4u, BmpStride(1));
    EXPECT_EQ(8u, BmpStride(2));
    EXPECT_EQ(1920u, BmpStride(640));
}

TEST(BmpLayout, AFailedWriteStopsTheStreamWithItsError) {
    MemorySink sink;
    sink.failAfter = 1; // the information header fails
    const Bytes rows(9 * 2, 0);
    EXPECT_EQ(sink.failure, StreamBmp(rows.data(), 3, 2, sink));
    EXPECT_EQ(2u, sink.requests.size());
}

} // namespace
