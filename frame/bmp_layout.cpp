#include "frame/bmp_layout.h"

namespace {

void PutLE16(BYTE* at, DWORD value) {
    at[0] = static_cast<BYTE>(value);
    at[1] = static_cast<BYTE>(value >> 8);
}

void PutLE32(BYTE* at, DWORD value) {
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

void FillBmpFileHeader(BYTE (&header)[kBmpFileHeaderBytes], int width, int height) {
    header[0] = 'B';
    header[1] = 'M';
    PutLE32(header + 2, static_cast<DWORD>(BmpFileSize(width, height)));
    PutLE16(header + 6, 0);
    PutLE16(header + 8, 0);
    PutLE32(header + 10, kBmpPixelOffset);
}

void FillBmpInfoHeader(BYTE (&header)[kBmpInfoHeaderBytes], int width, int height) {
    PutLE32(header + 0, kBmpInfoHeaderBytes);
    PutLE32(header + 4, static_cast<DWORD>(width));
    PutLE32(header + 8, static_cast<DWORD>(height)); // positive: bottom row first
    PutLE16(header + 12, 1);                         // planes
    PutLE16(header + 14, 24);                        // bits per pixel
    // Compression (none), image size, both resolutions and both colour
    // counts are all 0.
    for (DWORD offset = 16; offset < kBmpInfoHeaderBytes; offset += 4) {
        PutLE32(header + offset, 0);
    }
}

DWORD StreamBmp(const BYTE* bottomFirstRows, int width, int height, BmpSink& sink) {
    BYTE fileHeader[kBmpFileHeaderBytes];
    BYTE infoHeader[kBmpInfoHeaderBytes];
    FillBmpFileHeader(fileHeader, width, height);
    FillBmpInfoHeader(infoHeader, width, height);
    if (DWORD error = sink.Write(fileHeader, sizeof(fileHeader))) {
        return error;
    }
    if (DWORD error = sink.Write(infoHeader, sizeof(infoHeader))) {
        return error;
    }
    if (width <= 0 || height <= 0) {
        return 0;
    }

    // The frame reader caps the pixels at a few MiB, so these fit in 32 bits.
    const DWORD rowBytes = static_cast<DWORD>(RowBytes(width));
    const DWORD fill = static_cast<DWORD>(BmpStride(width)) - rowBytes;
    if (fill == 0) {
        return sink.Write(bottomFirstRows, rowBytes * static_cast<DWORD>(height));
    }
    static const BYTE kZeros[3] = {0, 0, 0};
    const BYTE* row = bottomFirstRows;
    for (int y = 0; y < height; ++y, row += rowBytes) {
        if (DWORD error = sink.Write(row, rowBytes)) {
            return error;
        }
        if (DWORD error = sink.Write(kZeros, fill)) {
            return error;
        }
    }
    return 0;
}
