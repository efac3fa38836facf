#include "tools/oxcapture/bmp_decode.h"

#include "frame/bmp_layout.h"

#include <climits>

namespace {

constexpr unsigned long kBiRgb = 0;
constexpr unsigned long kBiRle8 = 1;
constexpr unsigned long kBiRle4 = 2;
constexpr unsigned long kBiBitfields = 3;
constexpr unsigned long kBiJpeg = 4;
constexpr unsigned long kBiPng = 5;
constexpr unsigned long kBiAlphaBitfields = 6;

// The colour masks follow the 40-byte header, whatever its size, so they
// always start at the same place in the file.
constexpr std::size_t kMaskOffset = kBmpPixelOffset;
constexpr std::size_t kMaskBytes = 12;

unsigned long U16(const unsigned char* at) {
    return static_cast<unsigned long>(at[0]) | static_cast<unsigned long>(at[1]) << 8;
}

unsigned long U32(const unsigned char* at) {
    return U16(at) | U16(at + 2) << 16;
}

long S32(const unsigned char* at) {
    const unsigned long value = U32(at);
    // Two's complement by hand: the cast of a large unsigned is not portable.
    return value <= LONG_MAX ? static_cast<long>(value)
                             : -static_cast<long>(~value & 0x7FFFFFFFul) - 1;
}

bool Fail(std::string& reason, const std::string& text) {
    reason = text;
    return false;
}

bool IsKnownHeaderSize(unsigned long size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

const char* CompressionName(unsigned long compression) {
    switch (compression) {
    case kBiRle8:
        return "RLE8";
    case kBiRle4:
        return "RLE4";
    case kBiJpeg:
        return "JPEG";
    case kBiPng:
        return "PNG";
    default:
        return nullptr;
    }
}

} // namespace

bool DecodeBmp(const unsigned char* data, std::size_t size, CaptureImage& image,
               std::string& reason) {
    if (size < 2 || data[0] != 'B' || data[1] != 'M') {
        return Fail(reason, "not a BMP file");
    }
    if (size < kBmpPixelOffset) {
        return Fail(reason, "not a BMP file (truncated header)");
    }
    const unsigned long headerSize = U32(data + kBmpFileHeaderBytes);
    if (!IsKnownHeaderSize(headerSize)) {
        return Fail(reason, "unsupported BMP header size " + std::to_string(headerSize));
    }
    if (kBmpFileHeaderBytes + headerSize > size) {
        return Fail(reason, "truncated BMP header");
    }
    const long width = S32(data + 18);
    const long height = S32(data + 22);
    const unsigned long bitsPerPixel = U16(data + 28);
    const unsigned long compression = U32(data + 30);

    if (const char* name = CompressionName(compression)) {
        return Fail(reason, std::string("compressed BMP (") + name + ") is not supported");
    }
    if (bitsPerPixel == 1 || bitsPerPixel == 2 || bitsPerPixel == 4 || bitsPerPixel == 8) {
        return Fail(reason,
                    "paletted " + std::to_string(bitsPerPixel) + "-bit BMP is not supported");
    }
    if (bitsPerPixel == 16) {
        return Fail(reason, "16-bit BMP is not supported");
    }
    if (bitsPerPixel != 24 && bitsPerPixel != 32) {
        return Fail(reason, "unsupported bit depth " + std::to_string(bitsPerPixel));
    }
    const bool bitfields = compression == kBiBitfields || compression == kBiAlphaBitfields;
    if (!bitfields && compression != kBiRgb) {
        return Fail(reason, "unknown BMP compression " + std::to_string(compression));
    }
    if (bitfields) {
        if (kMaskOffset + kMaskBytes > size) {
            return Fail(reason, "truncated BMP header");
        }
        if (bitsPerPixel != 32 || U32(data + kMaskOffset) != 0x00FF0000ul ||
            U32(data + kMaskOffset + 4) != 0x0000FF00ul ||
            U32(data + kMaskOffset + 8) != 0x000000FFul) {
            return Fail(reason, "BMP colour masks other than 8-8-8 are not supported");
        }
    }
    if (width <= 0) {
        return Fail(reason, "invalid width " + std::to_string(width));
    }
    // LONG_MIN has no positive counterpart, and no height of 0 makes a picture.
    if (height == 0 || height == LONG_MIN) {
        return Fail(reason, "invalid height " + std::to_string(height));
    }
    const long rows = height < 0 ? -height : height;
    if (width > kMaxCaptureWidth || rows > kMaxCaptureHeight) {
        return Fail(reason, "image is " + std::to_string(width) + "x" + std::to_string(rows) +
                                ", larger than 1280x1024");
    }

    // In 64 bits: the offset is any 32-bit value and must not wrap the sum.
    const unsigned long long pixelOffset = U32(data + 10);
    const unsigned long long minimumOffset =
        kBmpFileHeaderBytes + headerSize + (bitfields && headerSize == 40 ? kMaskBytes : 0);
    if (pixelOffset < minimumOffset) {
        return Fail(reason, "pixel data offset " + std::to_string(pixelOffset) +
                                " overlaps the BMP header");
    }
    const unsigned long long bytesPerPixel = bitsPerPixel / 8;
    const unsigned long long stride =
        (static_cast<unsigned long long>(width) * bitsPerPixel + 31) / 32 * 4;
    const unsigned long long needed = pixelOffset +
                                      stride * static_cast<unsigned long long>(rows - 1) +
                                      static_cast<unsigned long long>(width) * bytesPerPixel;
    if (needed > size) {
        return Fail(reason, "truncated pixel data: the header claims " + std::to_string(needed) +
                                " bytes, the file holds " + std::to_string(size));
    }

    // Everything below is bounded by the checks above: at most 1280 x 1024.
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> pixels(rowBytes * static_cast<std::size_t>(rows));
    for (long fileRow = 0; fileRow < rows; ++fileRow) {
        const unsigned char* source =
            data + static_cast<std::size_t>(pixelOffset + stride * fileRow);
        // A top-down file gives the picture's top row first.
        const long outRow = height > 0 ? fileRow : rows - 1 - fileRow;
        unsigned char* out = pixels.data() + static_cast<std::size_t>(outRow) * rowBytes;
        for (long x = 0; x < width; ++x, source += bytesPerPixel, out += 3) {
            out[0] = source[0];
            out[1] = source[1];
            out[2] = source[2];
        }
    }
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(rows);
    image.bottomFirstBgr.swap(pixels);
    return true;
}
