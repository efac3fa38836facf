#include "capture/gif_page.h"

namespace {

constexpr std::uint64_t kGifScreenEnd = 13; // signature and logical screen
constexpr std::uint8_t kGifTrailer = 0x3B;
constexpr std::uint64_t kToTheEnd = ~0ull;
constexpr std::size_t kChunkBytes = 1 << 16;

// Appends the bytes from start to end, or to the file's end, a chunk at a
// time, so that nothing is held for bytes the file does not have. False
// when it has fewer than start to end.
bool Append(ByteSource& source, std::uint64_t start, std::uint64_t end,
            std::vector<std::uint8_t>& bytes) {
    for (std::uint64_t at = start; at < end;) {
        const std::uint64_t left = end - at;
        const std::size_t want = left < kChunkBytes ? static_cast<std::size_t>(left) : kChunkBytes;
        const std::size_t old = bytes.size();
        bytes.resize(old + want);
        const std::size_t got = source.ReadAt(at, bytes.data() + old, want);
        bytes.resize(old + got);
        if (got < want) {
            return end == kToTheEnd;
        }
        at += got;
    }
    return true;
}

} // namespace

bool GifPageBytes(ByteSource& source, const PageSize& page, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (!Append(source, 0, kGifScreenEnd, bytes)) {
        return false;
    }
    const std::uint8_t flags = bytes[10];
    const std::uint64_t screenEnd = kGifScreenEnd + GifColourTableBytes(flags);
    if (!Append(source, kGifScreenEnd, screenEnd, bytes) || page.blocksStart < screenEnd) {
        return false;
    }
    const bool whole = page.blocksEnd > page.blocksStart;
    if (!Append(source, page.blocksStart, whole ? page.blocksEnd : kToTheEnd, bytes)) {
        return false;
    }
    if (whole) {
        bytes.push_back(kGifTrailer);
    }
    return true;
}
