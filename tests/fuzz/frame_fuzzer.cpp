#include "frame_invariants.h"

#include "support/frame_bytes.h"
#include "support/memory_source.h"

#include "core/little_endian.h"
#include "capture/gif_page.h"
#include "capture/picture_check.h"
#include "capture/picture_header.h"
#include "capture/picture_pages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// The bytes as a file's start or an icon's page (a PNG, or a BMP without file header, twice as
// tall): the size PNG and BMP claim passes only within 2^28 pixels, and 1280x1024 without --fit.
static void CheckPictureDecision(const std::uint8_t* p, std::size_t size, bool icon, bool fit) {
    const std::size_t n = size < kPictureHeaderBytes ? size : kPictureHeaderBytes;
    const std::size_t info = icon ? 0 : 14;
    long long w = 0, h = 0;
    std::string reason;
    if (n >= 24 && std::memcmp(p, "\x89PNG\r\n\x1A\n", 8) == 0) {
        w = static_cast<long long>(p[16]) << 24 | p[17] << 16 | p[18] << 8 | p[19];
        h = static_cast<long long>(p[20]) << 24 | p[21] << 16 | p[22] << 8 | p[23];
    } else if (n >= info + 12 && (icon || std::memcmp(p, "BM", 2) == 0)) {
        const bool core = ReadUint32LE(p + info) == 12;
        w = core ? ReadUint16LE(p + info + 4) : ReadInt32LE(p + info + 4);
        h = core ? ReadUint16LE(p + info + 6) : ReadInt32LE(p + info + 8);
        h = (h < 0 ? -h : h) / (icon ? 2 : 1);
    } else {
        return; // no size to check
    }
    const PictureHeader header = icon ? ReadIconImage(p, n) : ReadPictureHeader(p, n);
    if (CheckPictureHeader(header, fit, reason) &&
        (w <= 0 || h <= 0 || w > (1ll << 28) / h || (!fit && (w > 1280 || h > 1024)))) {
        std::fprintf(stderr, "picture header accepted: %lldx%lld\n", w, h);
        std::abort();
    }
}

static bool Within(long long w, long long h) {
    return w <= 0 || h <= 0 || w <= (1ll << 28) / h;
}

// The bytes as a whole file for the page walk: at most one read per byte and a few, and no
// accepted page above 2^28 pixels, nor a used page above 1280x1024 without --fit.
static void CheckPageWalk(const std::uint8_t* p, std::size_t size, bool fit) {
    const PictureHeader header = ReadPictureHeader(p, size < 64 ? size : 64);
    MemorySource source(p, size);
    std::vector<PageSize> pages;
    std::string reason;
    const bool accepted = ReadPageSizes(header.format, source, pages, reason) &&
                          CheckPageSizes(pages, 1, fit, reason);
    if (source.reads > size + 4) {
        std::fprintf(stderr, "page walk read %zu times in a %zu-byte file\n", source.reads, size);
        std::abort();
    }
    for (std::size_t i = 0; accepted && i < pages.size(); ++i) {
        const PageSize& page = pages[i];
        const long long w = page.width, h = page.height;
        if (!Within(w, h) || !Within(page.tileWidth, page.tileHeight) ||
            (i == 0 && (w <= 0 || h <= 0 || (!fit && (w > 1280 || h > 1024))))) {
            std::fprintf(stderr, "page %zu accepted: %lldx%lld\n", i + 1, w, h);
            std::abort();
        }
    }
}

// The bytes as a recipe for a JPEG, GIF or TIFF built by the tests' builders, whose claims it
// knows: the walk must accept the file exactly when every claim is within the limits.
static void CheckBuiltPicture(const std::uint8_t* p, std::size_t size) {
    if (size < 17) {
        return;
    }
    const int format = p[0] % 3;
    const bool fit = p[0] & 4;
    std::vector<TiffPage> claims;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> sides; // a GIF's
    for (std::size_t at = 1; at + 16 <= size && claims.size() < 4; at += 16) {
        TiffPage claim = {ReadUint32LE(p + at), ReadUint32LE(p + at + 4), 0, 0};
        if (format != 2) { // JPEG and GIF sides are 16 bits; neither has tiles
            claim.width &= 0xFFFF, claim.height &= 0xFFFF;
        } else {
            claim.tileWidth = ReadUint32LE(p + at + 8),
            claim.tileHeight = ReadUint32LE(p + at + 12);
        }
        claims.push_back(claim);
        sides.emplace_back(claim.width, claim.height);
    }
    claims.resize(format == 0 ? 1 : claims.size());
    bool expected = true;
    for (std::size_t i = 0; i < claims.size(); ++i) {
        const long long w = claims[i].width, h = claims[i].height;
        const bool used = i == 0;
        const bool empty = w == 0 || h == 0;
        expected = expected && (empty ? !used : Within(w, h)) &&
                   (empty || Within(claims[i].tileWidth, claims[i].tileHeight)) &&
                   (!used || fit || (w <= 1280 && h <= 1024));
    }
    const Bytes file = format == 0   ? JpegClaiming(claims[0].width, claims[0].height)
                       : format == 1 ? GifClaiming(sides)
                                     : TiffClaiming(claims, p[0] & 8, p[0] & 16);
    const PictureHeader header = ReadPictureHeader(file.data(), 64);
    MemorySource source(file.data(), file.size());
    std::vector<PageSize> pages;
    std::string reason;
    const bool accepted = ReadPageSizes(header.format, source, pages, reason) &&
                          CheckPageSizes(pages, 1, fit, reason);
    if (accepted != expected) {
        std::fprintf(stderr, "built %d with %zu pages, first %ux%u: %s\n", format, claims.size(),
                     claims[0].width, claims[0].height, accepted ? "accepted" : reason.c_str());
        std::abort();
    }
}

// libFuzzer's entry: any byte string as a raw frame file, and as a picture.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FrameCheck check = CheckRawFrameFile(data, size);
    if (!check.fault.empty()) {
        std::fprintf(stderr, "invariant broken: %s\n", check.fault.c_str());
        std::abort();
    }
    for (const int mode : {0, 1, 2, 3}) {
        CheckPictureDecision(data, size, mode & 1, mode & 2);
    }
    CheckPageWalk(data, size, false);
    CheckPageWalk(data, size, true);
    CheckBuiltPicture(data, size);
    // The whole decision, an icon's pages included, under the sanitizers.
    MemorySource source(data, size);
    PictureFacts facts;
    std::string reason;
    const unsigned long page = size % 3 + 1;
    // A GIF's page cut out as the decoder gets it holds at most the file and a trailer.
    std::vector<std::uint8_t> cut;
    if (CheckPictureBytes(source, page, size % 2, facts, reason) &&
        facts.format == PictureFormat::kGif && page <= facts.pages.size() &&
        (!GifPageBytes(source, facts.pages[page - 1], cut) || cut.size() > size + 1)) {
        std::fprintf(stderr, "GIF page %lu cut out as %zu of %zu bytes\n", page, cut.size(), size);
        std::abort();
    }
    return 0;
}
