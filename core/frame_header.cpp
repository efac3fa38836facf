#include "core/frame_header.h"

#include <cstring>

FrameHeader FrameHeaderAt(const std::uint8_t* bytes) {
    FrameHeader header;
    std::memcpy(&header, bytes, sizeof(header));
    return header;
}

bool IsUsableFrame(const std::uint8_t* data, std::uint32_t bytesRead, std::uint32_t capacity) {
    if (bytesRead < kFrameHeaderBytes || bytesRead > capacity) {
        return false;
    }
    const FrameHeader header = FrameHeaderAt(data);
    const std::int64_t frameWidth = header.Width();
    const std::int64_t frameHeight = header.Height();
    if (frameWidth < 0 || frameHeight < 0) {
        return false;
    }
    // Both factors are below 2^31, so the product fits in 64 bits.
    const std::uint64_t needed =
        static_cast<std::uint64_t>(frameWidth) * static_cast<std::uint64_t>(frameHeight) * 3u +
        kFrameHeaderBytes;
    return needed <= bytesRead;
}
