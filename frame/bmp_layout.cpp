#include "frame/bmp_layout.h"

namespace {

void PutLE16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLE32(std::uint8_t* at, std::uint32_t value) {
    PutLE16(at, value & 0xFFFF);
    PutLE16(at + 2, value >> 16);
}

unsigned long long RowBytes(int width) {
    return width > 0 ? static_cast<unsigned long long>(width) * 3u : 0u;
}

} // namespace

unsigned long long BmpStride(int width) {
    return (RowBytes(width) + 3u) & ~3ull;
}

unsigned long long BmpFileSize(int width, int height) {
    const unsigned long long rows = height > 0 ? static_cast<unsigned long long>(height) : 0u;
    return kBmpPixelOffset + BmpStride(width) * rows;
}

void FillBmpFileHeader(std::uint8_t (&header)[kBmpFileHeaderBytes], int width, int height) {
    header[0] = 'B';
    header[1] = 'M';
    PutLE32(header + 2, static_cast<std::uint32_t>(BmpFileSize(width, height)));
    PutLE16(header + 6, 0);
    PutLE16(header + 8, 0);
    PutLE32(header + 10, kBmpPixelOffset);
}

void FillBmpInfoHeader(std::uint8_t (&header)[kBmpInfoHeaderBytes], int width, int height) {
    PutLE32(header + 0, kBmpInfoHeaderBytes);
    PutLE32(header + 4, static_cast<std::uint32_t>(width));
    PutLE32(header + 8, static_cast<std::uint32_t>(height)); // positive: bottom row first
    PutLE16(header + 12, 1);                                 // planes
    PutLE16(header + 14, 24);                                // bits per pixel
    // Compression (none), image size, both resolutions and both colour
    // counts are all 0.
    for (std::uint32_t offset = 16; offset < kBmpInfoHeaderBytes; offset += 4) {
        PutLE32(header + offset, 0);
    }
}

std::uint32_t StreamBmp(const std::uint8_t* bottomFirstRows, int width, int height, BmpSink& sink) {
    if (BmpFileSize(width, height) > UINT32_MAX) {
        return kBmpTooLarge;
    }
    std::uint8_t fileHeader[kBmpFileHeaderBytes];
    std::uint8_t infoHeader[kBmpInfoHeaderBytes];
    FillBmpFileHeader(fileHeader, width, height);
    FillBmpInfoHeader(infoHeader, width, height);
    if (std::uint32_t error = sink.Write(fileHeader, sizeof(fileHeader))) {
        return error;
    }
    if (std::uint32_t error = sink.Write(infoHeader, sizeof(infoHeader))) {
        return error;
    }
    if (width <= 0 || height <= 0) {
        return 0;
    }

    // The whole file fits in 32 bits, so every part of it does.
    const std::uint32_t rowBytes = static_cast<std::uint32_t>(RowBytes(width));
    const std::uint32_t fill = static_cast<std::uint32_t>(BmpStride(width)) - rowBytes;
    if (fill == 0) {
        return sink.Write(bottomFirstRows, rowBytes * static_cast<std::uint32_t>(height));
    }
    static const std::uint8_t kZeros[3] = {0, 0, 0};
    const std::uint8_t* row = bottomFirstRows;
    for (int y = 0; y < height; ++y, row += rowBytes) {
        if (std::uint32_t error = sink.Write(row, rowBytes)) {
            return error;
        }
        if (std::uint32_t error = sink.Write(kZeros, fill)) {
            return error;
        }
    }
    return 0;
}
