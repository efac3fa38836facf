#pragma once

// Plain C++ only: the header checks also build and are fuzzed off Windows.
#include <cstdint>

// Bytes reserved for the raw frame file as read: 5 MiB plus 1 KiB.
constexpr std::uint32_t kFrameBufferBytes = 5243904;
// The most the reader takes from the raw frame file: 1280 x 1024 x 3 + 64.
constexpr std::uint32_t kMaxRawFrameBytes = 3932224;

// The raw frame file starts with 24 header bytes: 16 the viewer ignores, then
// the width and the height as signed 32-bit little-endian integers.
constexpr std::uint32_t kFrameHeaderBytes = 24;
constexpr std::uint32_t kFrameWidthOffset = 16;
constexpr std::uint32_t kFrameHeightOffset = 20;

inline int ReadInt32LE(const std::uint8_t* bytes) {
    const std::uint32_t value =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return static_cast<int>(value);
}

inline int FrameHeaderWidth(const std::uint8_t* frame) {
    return ReadInt32LE(frame + kFrameWidthOffset);
}
inline int FrameHeaderHeight(const std::uint8_t* frame) {
    return ReadInt32LE(frame + kFrameHeightOffset);
}

// True when the bytes read hold a whole header and every pixel the header
// claims, within capacity bytes. The sizes are taken in 64 bits so that no
// header can wrap them, on a 32-bit build least of all.
bool IsUsableFrame(const std::uint8_t* data, std::uint32_t bytesRead, std::uint32_t capacity);
