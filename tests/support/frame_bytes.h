#pragma once

// Pictures and the files that carry them, built byte by byte so that the tests do not check
// the programs against their own code. Plain C++: the native checks use it too.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A picture in memory, top row first, blue-green-red bytes per pixel.
struct Frame {
    int width = 0;
    int height = 0;
    Bytes topFirst;
    // The pixel as a Windows colour reference: red | green << 8 | blue << 16.
    std::uint32_t At(int x, int y) const;
};

// The pixel as "red,green,blue", and where two frames first differ by more
// than tolerance in a channel ("" where they do not), for readable failures.
std::string RgbAt(const Frame& frame, int x, int y);
std::string Difference(const Frame& got, const Frame& expected, int tolerance = 0);

// Every pixel differs from its neighbours in each channel: a flip, shift or channel swap shows.
Frame PatternFrame(int width, int height);

// The raw frame file as oxcapture writes it ("OXRAWFRM", version 1, a reserved 0, the size, the
// rows bottom first), and the frame it holds (an empty one when it holds none).
Bytes RawFrameBytes(const Frame& frame);
Frame FrameFromRawBytes(const Bytes& raw);

// A raw frame file whose header says width x height (any 32-bit pattern),
// followed by pixelBytes varied bytes whatever the header claims.
Bytes RawFrameFileBytes(std::int64_t width, std::int64_t height, std::size_t pixelBytes);

// How a BMP file is laid out: the defaults are what Save writes.
struct BmpLayout {
    bool topDown = false;          // stored with a negative height
    int bitsPerPixel = 24;         // 24 or 32
    std::uint32_t compression = 0; // 3: BI_BITFIELDS with the masks below
    std::uint32_t headerSize = 40; // 40, or 108 and 124 for the larger headers
    std::uint32_t gap = 0;         // bytes between the headers and the pixels
    std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    std::uint8_t fill = 0; // row padding and the fourth byte of 32-bit pixels
};
Bytes BmpFileBytes(const Frame& frame, const BmpLayout& layout = BmpLayout());

// Hostile pictures, each claiming a size: a grey PNG with real black rows of that width; a small
// BMP; an icon of one page, picture less its first skip bytes (a BMP's file header); a JPEG a
// decoder reads, its frame header after a 64 KB segment; a GIF of these pages, a comment before
// the last; a grey TIFF of these directories (tile size 0: one strip), with loop the last naming
// the first as its next.
Bytes GreyPngClaiming(std::uint32_t width, std::uint32_t height);
Bytes BmpClaiming(std::int64_t width, std::int64_t height);
Bytes IconOf(const Bytes& picture, std::size_t skip = 0);
Bytes JpegClaiming(std::uint16_t width, std::uint16_t height);
Bytes GifClaiming(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& pages);
// A GIF whose pages (the last taken last times) fill what they claim with colour 0 of page n's
// own table, (n % 256, 128, 255 - n % 256) in red, green, blue, each after a graphic control.
Bytes GifFilled(std::vector<std::pair<std::uint16_t, std::uint16_t>> pages, std::size_t last = 1);
struct TiffPage {
    std::uint32_t width, height, tileWidth = 0, tileHeight = 0;
};
Bytes TiffClaiming(const std::vector<TiffPage>& pages, bool bigEndian, bool loop = false);

// Where two byte blocks first differ, for failure messages.
std::string FirstDifference(const Bytes& got, const Bytes& expected);

// The frame as top-first red-green-blue bytes, as ImageMagick's rgb: gives them.
Bytes FrameAsRgb(const Frame& frame);
