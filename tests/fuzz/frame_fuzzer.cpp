#include "frame_invariants.h"

#include "frame/little_endian.h"
#include "capture/picture_header.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// The bytes as a picture file's start, or an icon's page (a PNG, or a BMP
// without file header and with twice its rows): the size claimed where PNG and
// BMP keep it passes the header decision only if it fits 2^28 pixels, and
// 1280x1024 without --fit.
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
    return 0;
}
