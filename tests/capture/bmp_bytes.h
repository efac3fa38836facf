#pragma once

// BMP files, and the raw frame files expected from them, built by hand here
// so that the tests do not check the code against itself.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline void PutLE(Bytes& out, std::size_t at, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        out.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Channel c (0 blue, 1 green, 2 red) of the sample picture at (x, y), y from
// the top: neighbours and rows differ in every channel.
inline std::uint8_t Sample(int x, int y, int c) {
    return static_cast<std::uint8_t>(10 + c * 70 + x * (7 + c * 4) + y * (50 + c * 40));
}

struct BmpSpec {
    std::int32_t width = 3;
    std::int32_t height = 2; // as stored: negative for top-down
    int bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::uint32_t gap = 0;                                         // before the pixels
    std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF}; // for BI_BITFIELDS
};

// Padding and the fourth byte of 32-bit pixels, so a decoder that copies
// them shows it.
constexpr std::uint8_t kFillByte = 0xEE;

inline Bytes BuildBmp(const BmpSpec& layout) {
    const int rows = layout.height < 0 ? -layout.height : layout.height;
    const int pixelBytes = layout.bitsPerPixel / 8;
    const int stride = (layout.width * pixelBytes + 3) / 4 * 4;
    const bool masksAfterHeader = layout.compression == 3 && layout.headerSize == 40;
    const std::uint32_t offset = 14 + layout.headerSize + (masksAfterHeader ? 12 : 0) + layout.gap;
    Bytes out(offset + static_cast<std::size_t>(stride) * rows, kFillByte);
    std::fill(out.begin(), out.begin() + 14 + layout.headerSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutLE(out, 2, static_cast<std::uint32_t>(out.size()), 4);
    PutLE(out, 10, offset, 4);
    PutLE(out, 14, layout.headerSize, 4);
    PutLE(out, 18, static_cast<std::uint32_t>(layout.width), 4);
    PutLE(out, 22, static_cast<std::uint32_t>(layout.height), 4);
    PutLE(out, 26, 1, 2);
    PutLE(out, 28, static_cast<std::uint32_t>(layout.bitsPerPixel), 2);
    PutLE(out, 30, layout.compression, 4);
    for (int i = 0; layout.compression == 3 && i < 3; ++i) {
        PutLE(out, 54 + 4 * i, layout.masks[i], 4);
    }
    for (int fileRow = 0; pixelBytes >= 3 && fileRow < rows; ++fileRow) {
        const int y = layout.height < 0 ? fileRow : rows - 1 - fileRow;
        for (int x = 0; x < layout.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                out[offset + fileRow * stride + x * pixelBytes + c] = Sample(x, y, c);
            }
        }
    }
    return out;
}

// The raw frame file of the sample picture: the header, then the bottom row
// first.
inline Bytes ExpectedRawFile(int width, int rows) {
    Bytes out = {'O', 'X', 'R', 'A', 'W', 'F', 'R', 'M', 1, 0, 0, 0, 0, 0, 0, 0};
    out.resize(24);
    PutLE(out, 16, static_cast<std::uint32_t>(width), 4);
    PutLE(out, 20, static_cast<std::uint32_t>(rows), 4);
    for (int y = rows - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                out.push_back(Sample(x, y, c));
            }
        }
    }
    return out;
}

// Where two byte blocks first differ, for failure messages.
inline std::string FirstDifference(const Bytes& got, const Bytes& expected) {
    const auto diff = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
    if (diff.first == got.end() && diff.second == expected.end()) {
        return "equal";
    }
    if (got.size() != expected.size()) {
        return "size " + std::to_string(got.size()) + ", expected " +
               std::to_string(expected.size());
    }
    return "byte " + std::to_string(diff.first - got.begin()) + " is " +
           std::to_string(*diff.first) + ", expected " + std::to_string(*diff.second);
}
