#include "app/application_record.h"
#include "frame/bmp_export.h"
#include "frame/bmp_layout.h"
#include "frame/frame_header.h"
#include "support/memory_sink.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

DWORD U32At(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<DWORD>(b[at + 3]) << 24;
}
unsigned U16At(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8;
}

// The raw frame file's bytes: header, then rows bottom first.
Bytes RawFrame(int width, int height) {
    Bytes raw(kFrameHeaderBytes, 0);
    for (int i = 0; i < 4; ++i) {
        raw[16 + i] = static_cast<BYTE>(width >> (8 * i));
        raw[20 + i] = static_cast<BYTE>(height >> (8 * i));
    }
    for (int i = 0; i < width * height * 3; ++i) {
        raw.push_back(static_cast<BYTE>(i * 7 + 3));
    }
    return raw;
}

// A record as the viewer holds it after start-up: the raw file's bytes in
// the frame buffer, rows then turned top first.
void LoadAsViewer(ApplicationRecord& record, const Bytes& raw) {
    std::memcpy(record.frameBuffer, raw.data(), raw.size());
    record.frameLoaded = true;
    record.width = FrameHeaderWidth(record.frameBuffer);
    record.height = FrameHeaderHeight(record.frameBuffer);
    BYTE* pixels = record.frameBuffer + kFrameHeaderBytes;
    ASSERT_TRUE(record.ReverseRowOrder(pixels, pixels, record.width, record.height));
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
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_DISK_FULL), StreamBmp(rows.data(), 3, 2, sink));
    EXPECT_EQ(2u, sink.requests.size());
}

TEST(BmpExport, FileRowsComeOutInTheRawFilesOrder) {
    ApplicationRecord record;
    const Bytes raw = RawFrame(5, 3);
    LoadAsViewer(record, raw);
    MemorySink sink;
    ASSERT_EQ(0u, WriteFrameAsBmp(record, sink));
    ASSERT_EQ(54u + 16u * 3u, sink.bytes.size());
    for (int row = 0; row < 3; ++row) {
        const auto rawRow = raw.begin() + 24 + row * 15;
        const auto fileRow = sink.bytes.begin() + 54 + row * 16;
        EXPECT_EQ(Bytes(rawRow, rawRow + 15), Bytes(fileRow, fileRow + 15)) << "row " << row;
        EXPECT_EQ(0, fileRow[15]);
    }
}

TEST(BmpExport, SavingTwiceGivesTheSameBytesAndLeavesTheFrameBuffer) {
    ApplicationRecord record;
    LoadAsViewer(record, RawFrame(7, 4));
    const Bytes before(record.frameBuffer, record.frameBuffer + 24 + 7 * 4 * 3);
    MemorySink first;
    MemorySink second;
    ASSERT_EQ(0u, WriteFrameAsBmp(record, first));
    ASSERT_EQ(0u, WriteFrameAsBmp(record, second));
    EXPECT_EQ(first.bytes, second.bytes);
    EXPECT_EQ(before, Bytes(record.frameBuffer, record.frameBuffer + before.size()));
}

TEST(BmpExport, InitialFolderIsCutAfterTheLastBackslash) {
    struct Case {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Program Files\\Orbilux\\oxview.exe", "C:\\Program Files\\Orbilux\\"},
        {"C:\\oxview.exe", "C:\\"},
        {"oxview.exe", "oxview.exe"},
        {"\\oxview.exe", "\\oxview.exe"}, // only a backslash after the first character counts
        {"", ""},
    };
    for (const Case& c : cases) {
        char buffer[MAX_PATH];
        std::strcpy(buffer, c.path);
        CutAfterLastBackslash(buffer);
        EXPECT_STREQ(c.folder, buffer) << "from " << c.path;
    }
    char full[MAX_PATH];
    std::memset(full, 'a', sizeof(full)); // no terminator anywhere
    full[10] = '\\';
    CutAfterLastBackslash(full);
    EXPECT_EQ(11u, std::strlen(full));
}

} // namespace
