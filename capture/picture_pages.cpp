#include "capture/picture_pages.h"

#include "capture/capture_limits.h"

namespace {

// Reads fixed-size fields; false when the file ends first.
bool Read(ByteSource& source, std::uint64_t offset, std::uint8_t* bytes, std::size_t count) {
    return source.ReadAt(offset, bytes, count) == count;
}

bool IsJpegFrameHeader(std::uint8_t marker) {
    // SOF0 to SOF15, less DHT (C4), JPG (C8) and DAC (CC), which share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the marker segments from after SOI to the first frame header, whose
// height comes before its width. Each step moves on by at least two bytes.
bool ReadJpegSize(ByteSource& source, std::vector<PageSize>& pages, std::string& damage) {
    std::uint64_t at = 2;
    std::uint8_t bytes[7];
    while (Read(source, at, bytes, 2)) {
        if (bytes[0] != 0xFF) {
            break;
        }
        const std::uint8_t marker = bytes[1];
        if (marker == 0xFF) { // a fill byte before the marker
            at += 1;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length
            at += 2;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9 || !Read(source, at + 2, bytes, 2)) {
            break; // the pixels, or the end, before any frame header
        }
        const unsigned length = static_cast<unsigned>(bytes[0]) << 8 | bytes[1];
        if (IsJpegFrameHeader(marker)) {
            if (length < 8 || !Read(source, at + 4, bytes, 5)) {
                break;
            }
            pages.push_back({static_cast<long long>(bytes[3]) << 8 | bytes[4],
                             static_cast<long long>(bytes[1]) << 8 | bytes[2]});
            return true;
        }
        if (length < 2) {
            break;
        }
        at += 2 + length;
    }
    damage = "damaged picture: no JPEG frame header before its pixels";
    return false;
}

// Steps over data sub-blocks, each a length byte and that many bytes, to
// the empty one that ends them.
bool SkipSubBlocks(ByteSource& source, std::uint64_t& at) {
    std::uint8_t length = 0;
    while (Read(source, at, &length, 1)) {
        at += 1 + length;
        if (length == 0) {
            return true;
        }
    }
    return false;
}

std::uint64_t ColourTableBytes(std::uint8_t flags) {
    return flags & 0x80 ? 3ull << ((flags & 7) + 1) : 0;
}

// The logical screen, then every image descriptor up to the trailer,
// stepping over colour tables, extensions and the pixels' sub-blocks.
bool ReadGifSizes(ByteSource& source, std::vector<PageSize>& pages, std::string& damage) {
    std::uint8_t bytes[10];
    if (!Read(source, 6, bytes, 7)) {
        damage = "damaged picture: the file ends inside its GIF header";
        return false;
    }
    std::uint64_t at = 13 + ColourTableBytes(bytes[4]);
    while (Read(source, at, bytes, 1)) {
        if (bytes[0] == 0x3B) { // the trailer
            return true;
        }
        if (bytes[0] == 0x21) { // an extension: its label, then sub-blocks
            at += 2;
        } else if (bytes[0] == 0x2C && Read(source, at + 1, bytes, 9)) {
            pages.push_back({bytes[4] | bytes[5] << 8, bytes[6] | bytes[7] << 8});
            at += 10 + ColourTableBytes(bytes[8]) + 1; // and the LZW code size
        } else {
            break;
        }
        if (!SkipSubBlocks(source, at)) {
            break;
        }
    }
    // A file cut short after its last whole page is the decoder's to judge.
    if (!pages.empty()) {
        return true;
    }
    damage = "damaged picture: no GIF image before the file ends";
    return false;
}

} // namespace

bool ReadPageSizes(PictureFormat format, ByteSource& source, std::vector<PageSize>& pages,
                   std::string& damage) {
    if (format == PictureFormat::kJpeg) {
        return ReadJpegSize(source, pages, damage);
    }
    if (format == PictureFormat::kGif) {
        return ReadGifSizes(source, pages, damage);
    }
    // PNG, BMP and icons are sized from their headers. TIFF goes on to the
    // decoder unsized: Wine's decodes a TIFF page only when its pixels are
    // copied, after the page's size has been checked.
    return true;
}

bool CheckPageSizes(const std::vector<PageSize>& pages, unsigned long page, bool fit,
                    std::string& reason) {
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const PageSize& size = pages[i];
        const bool used = i + 1 == page;
        // A page not used only has to stay within the pixel limit, which
        // PlanFrameSize checks as it would with --fit; an empty one is the
        // decoder's to judge.
        if (!used && (size.width <= 0 || size.height <= 0)) {
            continue;
        }
        int frameWidth = 0;
        int frameHeight = 0;
        const std::string what = i == 0 && used ? "image" : "page " + std::to_string(i + 1);
        if (!PlanFrameSize(size.width, size.height, fit || !used, what, frameWidth, frameHeight,
                           reason)) {
            return false;
        }
    }
    return true;
}
