#include "frame/bmp_layout.h"

#include "core/little_endian.h"

namespace {

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
    WriteUint32LE(header + 2, static_cast<std::uint32_t>(BmpFileSize(width, height)));
    WriteUint16LE(header + 6, 0);
    WriteUint16LE(header + 8, 0);
    WriteUint32LE(header + 10, kBmpPixelOffset);
}

void FillBmpInfoHeader(std::uint8_t (&header)[kBmpInfoHeaderBytes], int width, int height) {
    WriteUint32LE(header + 0, kBmpInfoHeaderBytes);
    WriteInt32LE(header + 4, width);
    WriteInt32LE(header + 8, height); // positive: bottom row first
    WriteUint16LE(header + 12, 1);    // planes
    WriteUint16LE(header + 14, 24);   // bits per pixel
    // Compression (none), image size, both resolutions and both colour
    // counts are all 0.
    for (std::uint32_t offset = 16; offset < kBmpInfoHeaderBytes; offset += 4) {
        WriteUint32LE(header + offset, 0);
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
