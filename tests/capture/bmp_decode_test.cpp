#include "tools/oxcapture/bmp_decode.h"
#include "tools/oxcapture/raw_frame_encode.h"

#include "bmp_bytes.h"

#include <gtest/gtest.h>

namespace {

BmpSpec Layout(int width, int height, int bitsPerPixel = 24, std::uint32_t headerSize = 40) {
    BmpSpec layout;
    layout.width = width;
    layout.height = height;
    layout.bitsPerPixel = bitsPerPixel;
    layout.headerSize = headerSize;
    return layout;
}

// Decodes file and expects the raw frame file of layout's sample picture.
void ExpectSampleFrame(const BmpSpec& layout, const Bytes& file) {
    SCOPED_TRACE(std::to_string(layout.width) + "x" + std::to_string(layout.height) + ", " +
                 std::to_string(layout.bitsPerPixel) + " bits, header " +
                 std::to_string(layout.headerSize));
    CaptureImage image;
    std::string reason;
    ASSERT_TRUE(DecodeBmp(file.data(), file.size(), image, reason)) << reason;
    const Bytes got = EncodeRawFrame(image);
    const Bytes expected =
        ExpectedRawFile(layout.width, layout.height < 0 ? -layout.height : layout.height);
    EXPECT_EQ(expected, got) << FirstDifference(got, expected);
}

void ExpectSampleFrame(const BmpSpec& layout) {
    ExpectSampleFrame(layout, BuildBmp(layout));
}

TEST(BmpDecode, RowsComeOutBottomFirstWhateverTheFileOrderAndPadding) {
    // Widths 3 and 5 pad their rows by 3 and 1 bytes; width 4 needs none.
    for (int width : {1, 3, 4, 5}) {
        ExpectSampleFrame(Layout(width, 3));
        ExpectSampleFrame(Layout(width, -3));
        ExpectSampleFrame(Layout(width, 2, 32));
        ExpectSampleFrame(Layout(width, -2, 32));
    }
}

TEST(BmpDecode, LargerHeadersMasksAndAGapAreHonoured) {
    for (std::uint32_t headerSize : {52u, 56u, 108u, 124u}) {
        ExpectSampleFrame(Layout(5, 3, 24, headerSize));
    }
    BmpSpec bitfields = Layout(3, 2, 32); // masks after the 40-byte header
    bitfields.compression = 3;
    ExpectSampleFrame(bitfields);
    bitfields = Layout(3, -2, 32, 124); // masks inside the V5 header
    bitfields.compression = 3;
    ExpectSampleFrame(bitfields);
    BmpSpec gap = Layout(3, -2);
    gap.gap = 10;
    ExpectSampleFrame(gap);
    // The padding of the last row may be missing.
    Bytes file = BuildBmp(Layout(3, 2));
    file.resize(file.size() - 3);
    ExpectSampleFrame(Layout(3, 2), file);
}

Bytes With(Bytes file, std::size_t at, std::uint32_t value) {
    PutLE(file, at, value, 4);
    return file;
}

Bytes Cut(Bytes file, std::size_t size) {
    file.resize(size);
    return file;
}

TEST(BmpDecode, EachBadFileIsRefusedWithItsReasonAndTheImageUntouched) {
    BmpSpec rle = Layout(4, 4, 8);
    rle.compression = 1;
    BmpSpec swappedMasks = Layout(3, 2, 32);
    swappedMasks.compression = 3;
    std::swap(swappedMasks.masks[0], swappedMasks.masks[2]);
    const Bytes good = BuildBmp(Layout(4, 4)); // 48 pixel bytes, no padding
    const struct {
        const char* what;
        Bytes file;
        const char* reason; // a part of the expected reason
    } cases[] = {
        {"empty", {}, "not a BMP file"},
        {"PNG", {0x89, 'P', 'N', 'G', 13, 10, 26, 10}, "not a BMP file"},
        {"header cut short", Cut(good, 30), "not a BMP file"},
        {"core header", With(good, 14, 12), "unsupported BMP header size 12"},
        {"RLE8", BuildBmp(rle), "compressed BMP (RLE8) is not supported"},
        {"8 bits", BuildBmp(Layout(4, 4, 8)), "paletted 8-bit BMP"},
        {"4 bits", BuildBmp(Layout(4, 4, 4)), "paletted 4-bit BMP"},
        {"1 bit", BuildBmp(Layout(4, 4, 1)), "paletted 1-bit BMP"},
        {"16 bits", BuildBmp(Layout(4, 4, 16)), "16-bit BMP is not supported"},
        {"swapped masks", BuildBmp(swappedMasks), "colour masks"},
        {"unknown compression", With(good, 30, 9), "unknown BMP compression 9"},
        {"width 0", With(good, 18, 0), "invalid width 0"},
        {"width -5", With(good, 18, static_cast<std::uint32_t>(-5)), "invalid width -5"},
        {"height 0", With(good, 22, 0), "invalid height 0"},
        {"lowest height", With(good, 22, 0x80000000u), "invalid height -2147483648"},
        {"too wide", With(good, 18, 1281), "image is 1281x4, larger than 1280x1024"},
        {"too tall", With(good, 22, static_cast<std::uint32_t>(-1025)), "4x1025, larger"},
        {"pixels in header", With(good, 10, 40), "overlaps the BMP header"},
        {"a byte short", Cut(good, good.size() - 1), "truncated pixel data"},
        {"1280x1024 claimed", With(With(good, 18, 1280), 22, 1024), "truncated pixel data"},
        // In 32 bits the end of the pixels would wrap round to a small number.
        {"offset near 4 GiB", With(good, 10, 0xFFFFFFF0u), "truncated pixel data"},
    };
    for (const auto& bad : cases) {
        CaptureImage image;
        image.width = -7; // sentinels
        image.bottomFirstBgr.assign(1, 0xBD);
        std::string reason;
        EXPECT_FALSE(DecodeBmp(bad.file.data(), bad.file.size(), image, reason)) << bad.what;
        EXPECT_NE(std::string::npos, reason.find(bad.reason))
            << bad.what << ": got \"" << reason << "\", expected \"" << bad.reason << "\"";
        EXPECT_EQ(std::string::npos, reason.find('\n')) << reason;
        EXPECT_TRUE(image.width == -7 && image.bottomFirstBgr == Bytes(1, 0xBD)) << bad.what;
    }
}

} // namespace
