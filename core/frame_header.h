#pragma once

// Plain C++ only: the header checks also build and are fuzzed off Windows.
#include "core/little_endian.h"

#include <cstddef>
#include <cstdint>

// The first 24 bytes of the raw frame file, as they lie in the file and at
// the start of the frame buffer: 16 bytes the viewer ignores, then the width
// and the height as signed 32-bit little-endian integers. Kept as bytes, so
// no machine's byte order or padding can change the layout.
struct FrameHeader {
    std::uint8_t producer[16]; // the capture program's own; the viewer ignores them
    std::uint8_t width[4];
    std::uint8_t height[4];

    std::int32_t Width() const { return ReadInt32LE(width); }
    std::int32_t Height() const { return ReadInt32LE(height); }
    void SetSize(std::int32_t frameWidth, std::int32_t frameHeight) {
        WriteInt32LE(width, frameWidth);
        WriteInt32LE(height, frameHeight);
    }
};

constexpr std::uint32_t kFrameHeaderBytes = sizeof(FrameHeader);
static_assert(kFrameHeaderBytes == 24, "the header is 24 bytes in the file");
static_assert(offsetof(FrameHeader, width) == 16, "the width lies at byte 16");
static_assert(offsetof(FrameHeader, height) == 20, "the height lies at byte 20");

// The header at the start of some bytes, which need not be aligned or be a
// FrameHeader object; at least kFrameHeaderBytes of them must be readable.
FrameHeader FrameHeaderAt(const std::uint8_t* bytes);

// The block the raw frame file is read into: 5 MiB plus 1 KiB, the header
// followed by the pixels (bottom row first as read, top row first once the
// start-up has reversed them).
struct FrameBuffer {
    FrameHeader header;
    std::uint8_t pixels[5243904 - kFrameHeaderBytes];

    // The whole block as the file's bytes land in it.
    std::uint8_t* bytes() { return reinterpret_cast<std::uint8_t*>(this); }
    const std::uint8_t* bytes() const { return reinterpret_cast<const std::uint8_t*>(this); }
};

constexpr std::uint32_t kFrameBufferBytes = sizeof(FrameBuffer);
static_assert(kFrameBufferBytes == 5243904, "the frame buffer is 5 MiB plus 1 KiB");

// The most the reader takes from the raw frame file: 1280 x 1024 x 3 + 64.
constexpr std::uint32_t kMaxRawFrameBytes = 3932224;

// True when the bytes read hold a whole header and every pixel the header
// claims, within capacity bytes. The sizes are taken in 64 bits so that no
// header can wrap them, on a 32-bit build least of all.
bool IsUsableFrame(const std::uint8_t* data, std::uint32_t bytesRead, std::uint32_t capacity);
