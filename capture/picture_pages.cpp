#include "capture/picture_pages.h"

#include "capture/capture_limits.h"

#include <iterator>
#include <map>

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

// The logical screen, then every image descriptor up to the trailer,
// stepping over colour tables, extensions and the pixels' sub-blocks.
bool ReadGifSizes(ByteSource& source, std::vector<PageSize>& pages, std::string& damage) {
    std::uint8_t bytes[10];
    if (!Read(source, 6, bytes, 7)) {
        damage = "damaged picture: the file ends inside its GIF header";
        return false;
    }
    std::uint64_t at = 13 + GifColourTableBytes(bytes[4]);
    // Extensions belong to the image after them, as a graphic control
    // extension does.
    std::uint64_t pageStart = at;
    while (Read(source, at, bytes, 1)) {
        if (bytes[0] == 0x3B) { // the trailer
            return true;
        }
        const bool image = bytes[0] == 0x2C;
        if (bytes[0] == 0x21) { // an extension: its label, then sub-blocks
            at += 2;
        } else if (image && Read(source, at + 1, bytes, 9)) {
            PageSize page = {bytes[4] | bytes[5] << 8, bytes[6] | bytes[7] << 8};
            page.blocksStart = pageStart;
            pages.push_back(page);
            at += 10 + GifColourTableBytes(bytes[8]) + 1; // and the LZW code size
        } else {
            break;
        }
        if (!SkipSubBlocks(source, at)) {
            break;
        }
        if (image) {
            pages.back().blocksEnd = pageStart = at;
        }
    }
    // A file cut short after its last whole page is the decoder's to judge.
    if (!pages.empty()) {
        return true;
    }
    damage = "damaged picture: no GIF image before the file ends";
    return false;
}

unsigned Field16(const std::uint8_t* p, bool bigEndian) {
    return bigEndian ? p[0] << 8 | p[1] : p[1] << 8 | p[0];
}

std::uint32_t Field32(const std::uint8_t* p, bool bigEndian) {
    const std::uint32_t first = Field16(p, bigEndian), second = Field16(p + 2, bigEndian);
    return bigEndian ? first << 16 | second : second << 16 | first;
}

// A directory entry's one number, SHORT or LONG, as a decoder reads sides
// and tile sizes; 0 for any other type or count.
long long EntryNumber(const std::uint8_t* entry, bool bigEndian) {
    const unsigned type = Field16(entry + 2, bigEndian);
    if (Field32(entry + 4, bigEndian) != 1) {
        return 0;
    }
    return type == 3   ? Field16(entry + 8, bigEndian)
           : type == 4 ? Field32(entry + 8, bigEndian)
                       : 0;
}

// Every image directory's width and length, and its tile size where it has
// one (a strip is never larger than its page). A directory met again ends
// the chain, as it does for the decoder; one that overlaps another without
// being it is damage. Directories that do not overlap cannot read more
// bytes than the file has.
bool ReadTiffSizes(ByteSource& source, std::vector<PageSize>& pages, std::string& damage) {
    std::uint8_t bytes[8];
    if (!Read(source, 0, bytes, 8)) {
        damage = "damaged picture: the file ends inside its TIFF header";
        return false;
    }
    const bool big = bytes[0] == 'M';
    std::map<std::uint64_t, std::uint64_t> directories; // start, end
    std::vector<std::uint8_t> entries;
    for (std::uint64_t at = Field32(bytes + 4, big); at != 0;) {
        if (directories.count(at) != 0) {
            break; // a loop
        }
        if (!Read(source, at, bytes, 2)) {
            break; // a chain that runs out of the file is the decoder's to judge
        }
        entries.resize(12 * static_cast<std::size_t>(Field16(bytes, big)));
        const std::uint64_t end = at + 2 + entries.size() + 4;
        const auto next = directories.lower_bound(at);
        if ((next != directories.end() && next->first < end) ||
            (next != directories.begin() && std::prev(next)->second > at)) {
            damage = "damaged picture: two TIFF directories overlap";
            return false;
        }
        directories[at] = end;
        if (!Read(source, at + 2, entries.data(), entries.size()) ||
            !Read(source, end - 4, bytes, 4)) {
            break;
        }
        PageSize page;
        for (std::size_t i = 0; i < entries.size(); i += 12) {
            const long long number = EntryNumber(&entries[i], big);
            switch (Field16(&entries[i], big)) {
            case 256:
                page.width = number;
                break;
            case 257:
                page.height = number;
                break;
            case 322:
                page.tileWidth = number;
                break;
            case 323:
                page.tileHeight = number;
                break;
            default:
                break;
            }
        }
        pages.push_back(page);
        at = Field32(bytes, big);
    }
    if (!pages.empty()) {
        return true;
    }
    damage = "damaged picture: no whole TIFF directory";
    return false;
}

} // namespace

std::uint64_t GifColourTableBytes(std::uint8_t flags) {
    return flags & 0x80 ? 3ull << ((flags & 7) + 1) : 0;
}

bool ReadPageSizes(PictureFormat format, ByteSource& source, std::vector<PageSize>& pages,
                   std::string& damage) {
    if (format == PictureFormat::kJpeg) {
        return ReadJpegSize(source, pages, damage);
    }
    if (format == PictureFormat::kGif) {
        return ReadGifSizes(source, pages, damage);
    }
    if (format == PictureFormat::kTiff) {
        return ReadTiffSizes(source, pages, damage);
    }
    return true; // PNG, BMP and icons are sized from their headers
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
        // A decoder allocates a whole tile, which may be larger than its page.
        if (size.tileWidth > 0 && size.tileHeight > 0 &&
            size.tileWidth > kMaxSourcePixels / size.tileHeight) {
            reason = what + " has tiles of " + std::to_string(size.tileWidth) + "x" +
                     std::to_string(size.tileHeight) + ", more than " +
                     std::to_string(kMaxSourcePixels) + " pixels: too large to read";
            return false;
        }
    }
    return true;
}
