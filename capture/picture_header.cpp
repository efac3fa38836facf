#include "capture/picture_header.h"

#include "core/bmp_file_header.h"
#include "core/little_endian.h"
#include "capture/capture_limits.h"

#include <cstring>

namespace {

struct Signature {
    PictureFormat format;
    const char* bytes;
    std::size_t length;
};
constexpr Signature kSignatures[] = {
    {PictureFormat::kPng, "\x89PNG\r\n\x1A\n", 8},
    {PictureFormat::kBmp, "BM", 2},
    {PictureFormat::kJpeg, "\xFF\xD8\xFF", 3},
    {PictureFormat::kGif, "GIF87a", 6},
    {PictureFormat::kGif, "GIF89a", 6},
    {PictureFormat::kTiff, "II*\0", 4},
    {PictureFormat::kTiff, "MM\0*", 4},
    {PictureFormat::kIco, "\0\0\1\0", 4},
};

std::uint32_t ReadUint32BE(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) << 24 | static_cast<std::uint32_t>(at[1]) << 16 |
           static_cast<std::uint32_t>(at[2]) << 8 | static_cast<std::uint32_t>(at[3]);
}

std::string CutShort(const char* format) {
    return std::string("damaged picture: the file ends inside its ") + format + " header";
}

// IHDR must be the first chunk: 13 bytes of data, width and height first,
// each a big-endian 32-bit number.
void ReadPngSize(const std::uint8_t* bytes, std::size_t count, PictureHeader& header) {
    if (count < 24) {
        header.damage = CutShort("PNG");
    } else if (ReadUint32BE(bytes + 8) != 13 || std::memcmp(bytes + 12, "IHDR", 4) != 0) {
        header.damage = "damaged picture: it does not start with a PNG header chunk (IHDR)";
    } else {
        header.sizeKnown = true;
        header.width = ReadUint32BE(bytes + 16);
        header.height = ReadUint32BE(bytes + 20);
    }
}

// The information header: its own length first, 12 for the oldest, whose
// sides are unsigned 16-bit, and 16 or more for the others, whose sides are
// signed 32-bit and whose negative height means that the rows are stored top
// first. count is how many of its bytes there are.
void ReadBmpSize(const std::uint8_t* info, std::size_t count, PictureHeader& header) {
    if (count < 12) {
        header.damage = CutShort("BMP");
        return;
    }
    const std::uint32_t headerSize = ReadUint32LE(info);
    if (headerSize == 12) {
        header.sizeKnown = true;
        header.width = ReadUint16LE(info + 4);
        header.height = ReadUint16LE(info + 6);
        return;
    }
    if (headerSize < 16) {
        header.damage = "damaged picture: a BMP header of " + std::to_string(headerSize) + " bytes";
        return;
    }
    const std::int32_t width = ReadInt32LE(info + 4);
    const std::int32_t height = ReadInt32LE(info + 8);
    // A negative width has no meaning, and the most negative height has no
    // positive counterpart in 32 bits.
    if (width < 0 || height == INT32_MIN) {
        header.damage = "damaged picture: the BMP header gives a " +
                        std::string(width < 0 ? "width of " : "height of ") +
                        std::to_string(width < 0 ? width : height);
        return;
    }
    header.sizeKnown = true;
    header.width = width;
    header.height = height < 0 ? -static_cast<long long>(height) : height;
}

constexpr std::size_t kIconDirectoryBytes = 6;

} // namespace

PictureHeader ReadPictureHeader(const std::uint8_t* bytes, std::size_t count) {
    PictureHeader header;
    for (const Signature& signature : kSignatures) {
        if (count >= signature.length &&
            std::memcmp(bytes, signature.bytes, signature.length) == 0) {
            header.format = signature.format;
            break;
        }
    }
    // GIF's logical screen is left to the decoder: it does not bound the
    // frames, whose own sizes the decoders report.
    if (header.format == PictureFormat::kPng) {
        ReadPngSize(bytes, count, header);
    } else if (header.format == PictureFormat::kBmp) {
        // No pointer past the end of a short start, not even an unused one.
        const bool whole = count > kBmpFileHeaderBytes;
        ReadBmpSize(whole ? bytes + kBmpFileHeaderBytes : bytes,
                    whole ? count - kBmpFileHeaderBytes : 0, header);
    }
    return header;
}

unsigned long IconPageCount(const std::uint8_t* bytes, std::size_t count) {
    return count >= kIconDirectoryBytes ? ReadUint16LE(bytes + 4) : 0;
}

unsigned long long IconEntryOffset(unsigned long page) {
    return kIconDirectoryBytes + (page - 1ull) * kIconEntryBytes;
}

unsigned long long IconImageOffset(const std::uint8_t* entry) {
    return ReadUint32LE(entry + 12);
}

PictureHeader ReadIconImage(const std::uint8_t* bytes, std::size_t count) {
    PictureHeader header;
    header.format = PictureFormat::kIco;
    if (count >= 8 && std::memcmp(bytes, kSignatures[0].bytes, 8) == 0) {
        ReadPngSize(bytes, count, header);
        return header;
    }
    ReadBmpSize(bytes, count, header);
    // The rows of the colours, then as many of the transparency mask.
    header.height /= 2;
    return header;
}

const char* FormatName(PictureFormat format) {
    switch (format) {
    case PictureFormat::kPng:
        return "PNG";
    case PictureFormat::kBmp:
        return "BMP";
    case PictureFormat::kJpeg:
        return "JPEG";
    case PictureFormat::kGif:
        return "GIF";
    case PictureFormat::kTiff:
        return "TIFF";
    case PictureFormat::kIco:
        return "ICO";
    default:
        return "";
    }
}

bool CheckPictureHeader(const PictureHeader& header, bool fit, std::string& reason) {
    if (!header.damage.empty()) {
        reason = header.damage;
        return false;
    }
    // What cannot be sized here goes to no decoder.
    if (header.format == PictureFormat::kUnknown) {
        reason = "not a picture format oxcapture reads (PNG, BMP, JPEG, GIF, TIFF or ICO)";
        return false;
    }
    int frameWidth = 0;
    int frameHeight = 0;
    return !header.sizeKnown || PlanFrameSize(header.width, header.height, fit, "image", frameWidth,
                                              frameHeight, reason);
}
