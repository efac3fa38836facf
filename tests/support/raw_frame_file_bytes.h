#pragma once

// Plain C++, for the tests under Wine and the native checks alike.
#include "frame/frame_header.h"
#include "frame/little_endian.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Writes any 32-bit patterns as the header's width and height, negative and
// out-of-range ones included.
inline void PutRawFrameSize(std::vector<std::uint8_t>& file, std::int64_t width,
                            std::int64_t height) {
    WriteUint32LE(&file[offsetof(FrameHeader, width)], static_cast<std::uint32_t>(width));
    WriteUint32LE(&file[offsetof(FrameHeader, height)], static_cast<std::uint32_t>(height));
}

// A raw frame file whose header says width x height (any 32-bit values),
// followed by pixelBytes bytes whatever the header claims. The bytes vary,
// so a misplaced row shows.
inline std::vector<std::uint8_t> RawFrameFileBytes(std::int64_t width, std::int64_t height,
                                                   std::size_t pixelBytes) {
    std::vector<std::uint8_t> file(kFrameHeaderBytes + pixelBytes);
    PutRawFrameSize(file, width, height);
    for (std::size_t i = kFrameHeaderBytes; i < file.size(); ++i) {
        file[i] = static_cast<std::uint8_t>(i * 131 + 7);
    }
    return file;
}
