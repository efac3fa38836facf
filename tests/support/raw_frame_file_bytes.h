#pragma once

// Plain C++, for the tests under Wine and the native checks alike.
#include "frame/frame_header.h"

#include <cstddef>
#include <cstdint>
#include <vector>

inline void PutInt32LE(std::vector<std::uint8_t>& bytes, std::size_t at, std::int64_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

// A raw frame file whose header says width x height (any 32-bit values),
// followed by pixelBytes bytes whatever the header claims. The bytes vary,
// so a misplaced row shows.
inline std::vector<std::uint8_t> RawFrameFileBytes(std::int64_t width, std::int64_t height,
                                                   std::size_t pixelBytes) {
    std::vector<std::uint8_t> file(kFrameHeaderBytes + pixelBytes);
    PutInt32LE(file, kFrameWidthOffset, width);
    PutInt32LE(file, kFrameHeightOffset, height);
    for (std::size_t i = kFrameHeaderBytes; i < file.size(); ++i) {
        file[i] = static_cast<std::uint8_t>(i * 131 + 7);
    }
    return file;
}
