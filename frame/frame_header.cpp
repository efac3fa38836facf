#include "frame/frame_header.h"

bool IsUsableFrame(const std::uint8_t* data, std::uint32_t bytesRead, std::uint32_t capacity) {
    if (bytesRead < kFrameHeaderBytes || bytesRead > capacity) {
        return false;
    }
    const std::int64_t frameWidth = FrameHeaderWidth(data);
    const std::int64_t frameHeight = FrameHeaderHeight(data);
    if (frameWidth < 0 || frameHeight < 0) {
        return false;
    }
    // Both factors are below 2^31, so the product fits in 64 bits.
    const std::uint64_t needed =
        static_cast<std::uint64_t>(frameWidth) * static_cast<std::uint64_t>(frameHeight) * 3u +
        kFrameHeaderBytes;
    return needed <= bytesRead;
}
