#include "frame/bmp_layout.h"
#include "support/memory_sink.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every frame the viewer accepts is laid out against a BMP built by hand,
// fill and all, in frame_invariants_test; here the headers, byte by byte.
TEST(BmpLayout, HeadersCarryTheSizesAndFixedValues) {
    MemorySink sink;
    Bytes rows(640 * 480 * 3, 0x11);
    ASSERT_EQ(0u, StreamBmp(rows.data(), 640, 480, sink));
    ASSERT_EQ(921654u, sink.bytes.size());
    // "BM", the file's size (921654), two zeros, the pixels' offset (54); the
    // header's size (40), 640, 480, one plane, 24 bits, six zero fields.
    const Bytes headers = {'B',  'M', 0x36, 0x10, 0x0E, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                           0x80, 2,   0,    0,    0xE0, 1, 0, 0, 1, 0, 24, 0, 0, 0, 0,  0, 0, 0,
                           0,    0,   0,    0,    0,    0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0};
    EXPECT_EQ(headers, Bytes(sink.bytes.begin(), sink.bytes.begin() + 54));
}

TEST(BmpLayout, AFailedWriteStopsTheStreamWithItsError) {
    const Bytes rows(9 * 2, 0); // rows of 3 pixels, which need fill
    MemorySink whole;
    ASSERT_EQ(0u, StreamBmp(rows.data(), 3, 2, whole));
    for (std::size_t failing = 0; failing < whole.requests.size(); ++failing) {
        MemorySink sink;
        sink.failAfter = static_cast<int>(failing);
        EXPECT_EQ(sink.failure, StreamBmp(rows.data(), 3, 2, sink)) << "request " << failing;
        EXPECT_EQ(failing + 1, sink.requests.size()) << "written on after request " << failing;
    }
}

} // namespace
