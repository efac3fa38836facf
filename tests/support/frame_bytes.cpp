#include "support/frame_bytes.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Little-endian, or big-endian as PNG has it.
void Put32(Bytes& out, std::size_t at, std::uint32_t value, bool bigEndian = false) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * (bigEndian ? 3 - i : i)));
    }
}

void Append32(Bytes& out, std::uint32_t value, bool bigEndian = false) {
    out.resize(out.size() + 4);
    Put32(out, out.size() - 4, value, bigEndian);
}

std::int32_t Get32(const Bytes& in, std::size_t at) {
    const std::uint32_t bits =
        in[at] | in[at + 1] << 8 | in[at + 2] << 16 | static_cast<std::uint32_t>(in[at + 3]) << 24;
    return static_cast<std::int32_t>(bits);
}

// The rows of a picture in the other order: top first to bottom first, and back.
Bytes Flipped(const std::uint8_t* rows, int width, int height) {
    Bytes flipped;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = height - 1; y >= 0; --y) {
        flipped.insert(flipped.end(), rows + y * rowBytes, rows + (y + 1) * rowBytes);
    }
    return flipped;
}

// Appends the LZW codes (2-bit colours) of that many pixels of colour 0, in sub-blocks: after a
// clear code colour 0, then each code the one the decoder is about to add, a pixel longer than
// the last, until a clear again near a full table. A shorter last run is an entry it has.
void AppendLzwColourZero(std::uint64_t pixels, Bytes& blocks) {
    Bytes codes;
    std::uint32_t bits = 0, pending = 0, width = 3, next = 4000; // a clear code first
    const auto put = [&](std::uint32_t code) {
        for (bits |= code << pending, pending += width; pending >= 8; pending -= 8, bits >>= 8) {
            codes.push_back(static_cast<std::uint8_t>(bits));
        }
    };
    for (std::uint32_t run = 0; pixels > 0; pixels -= run) {
        if (next == 4000) {
            put(4), width = 3, next = 6, run = 0;
        }
        const bool first = run == 0; // the decoder adds an entry for every code but this
        run = static_cast<std::uint32_t>(std::min<std::uint64_t>(run + 1, pixels));
        put(run == 1 ? 0 : run + 4);
        if (!first && ++next == 1u << width && width < 12) {
            ++width;
        }
    }
    put(5);
    codes.push_back(static_cast<std::uint8_t>(bits)); // the last bits
    for (std::size_t at = 0; at < codes.size(); at += 255) {
        blocks.push_back(static_cast<std::uint8_t>(std::min<std::size_t>(255, codes.size() - at)));
        blocks.insert(blocks.end(), codes.begin() + at, codes.begin() + at + blocks.back());
    }
    blocks.push_back(0);
}

} // namespace

std::uint32_t Frame::At(int x, int y) const {
    const std::uint8_t* p = &topFirst[(static_cast<std::size_t>(y) * width + x) * 3];
    return p[2] | p[1] << 8 | static_cast<std::uint32_t>(p[0]) << 16;
}

std::string RgbAt(const Frame& frame, int x, int y) {
    const std::uint8_t* p = &frame.topFirst[(static_cast<std::size_t>(y) * frame.width + x) * 3];
    return std::to_string(p[2]) + "," + std::to_string(p[1]) + "," + std::to_string(p[0]);
}

std::string Difference(const Frame& got, const Frame& expected, int tolerance) {
    if (got.width != expected.width || got.height != expected.height) {
        return "size " + std::to_string(got.width) + "x" + std::to_string(got.height) +
               ", expected " + std::to_string(expected.width) + "x" +
               std::to_string(expected.height);
    }
    for (std::size_t i = 0; i < got.topFirst.size(); ++i) {
        if (std::abs(got.topFirst[i] - expected.topFirst[i]) > tolerance) {
            const int pixel = static_cast<int>(i / 3);
            const int x = pixel % got.width;
            const int y = pixel / got.width;
            return "pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                   RgbAt(got, x, y) + ", expected " + RgbAt(expected, x, y);
        }
    }
    return "";
}

Frame PatternFrame(int width, int height) {
    Frame frame{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            frame.topFirst.push_back(static_cast<std::uint8_t>(x * 3 + y));       // blue
            frame.topFirst.push_back(static_cast<std::uint8_t>(y * 5 + x / 7));   // green
            frame.topFirst.push_back(static_cast<std::uint8_t>(255 - x - y * 2)); // red
        }
    }
    return frame;
}

Bytes RawFrameBytes(const Frame& frame) {
    Bytes raw = {'O', 'X', 'R', 'A', 'W', 'F', 'R', 'M', 1, 0, 0, 0, 0, 0, 0, 0};
    Append32(raw, static_cast<std::uint32_t>(frame.width));
    Append32(raw, static_cast<std::uint32_t>(frame.height));
    const Bytes rows = Flipped(frame.topFirst.data(), frame.width, frame.height);
    raw.insert(raw.end(), rows.begin(), rows.end());
    return raw;
}

Frame FrameFromRawBytes(const Bytes& raw) {
    const std::int64_t width = raw.size() < 24 ? -1 : Get32(raw, 16);
    const std::int64_t height = raw.size() < 24 ? -1 : Get32(raw, 20);
    // By division: a claim of 2^31 x 2^31 pixels overflows any product.
    if (width < 0 || height < 0 ||
        (width > 0 && height > (static_cast<std::int64_t>(raw.size()) - 24) / 3 / width)) {
        return Frame();
    }
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    return {w, h, Flipped(raw.data() + 24, w, h)};
}

Bytes RawFrameFileBytes(std::int64_t width, std::int64_t height, std::size_t pixelBytes) {
    Bytes file(24 + pixelBytes);
    Put32(file, 16, static_cast<std::uint32_t>(width));
    Put32(file, 20, static_cast<std::uint32_t>(height));
    for (std::size_t i = 24; i < file.size(); ++i) {
        file[i] = static_cast<std::uint8_t>(i * 131 + 7);
    }
    return file;
}

Bytes BmpFileBytes(const Frame& frame, const BmpLayout& layout) {
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(layout.bitsPerPixel) / 8;
    const std::uint32_t rowBytes = static_cast<std::uint32_t>(frame.width) * pixelBytes;
    const std::uint32_t stride = (rowBytes + 3) / 4 * 4;
    const bool masksAfterHeader = layout.compression == 3 && layout.headerSize == 40;
    const std::uint32_t offset = 14 + layout.headerSize + (masksAfterHeader ? 12 : 0) + layout.gap;
    Bytes out(offset + stride * static_cast<std::uint32_t>(frame.height), layout.fill);
    std::fill(out.begin(), out.begin() + 14 + layout.headerSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<std::uint32_t>(out.size()));
    Put32(out, 10, offset);
    Put32(out, 14, layout.headerSize);
    Put32(out, 18, static_cast<std::uint32_t>(frame.width));
    Put32(out, 22, static_cast<std::uint32_t>(layout.topDown ? -frame.height : frame.height));
    out[26] = 1; // planes
    out[28] = static_cast<std::uint8_t>(layout.bitsPerPixel);
    Put32(out, 30, layout.compression);
    for (int i = 0; layout.compression == 3 && i < 3; ++i) {
        Put32(out, 54 + 4 * i, layout.masks[i]);
    }
    for (int fileRow = 0; frame.width > 0 && fileRow < frame.height; ++fileRow) {
        const int y = layout.topDown ? fileRow : frame.height - 1 - fileRow;
        for (int x = 0; x < frame.width; ++x) {
            const std::uint8_t* pixel =
                &frame.topFirst[(static_cast<std::size_t>(y) * frame.width + x) * 3];
            std::copy(pixel, pixel + 3, out.begin() + offset + fileRow * stride + x * pixelBytes);
        }
    }
    return out;
}

std::string FirstDifference(const Bytes& got, const Bytes& expected) {
    const auto diff = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
    if (diff.first == got.end() && diff.second == expected.end()) {
        return "equal";
    }
    if (got.size() != expected.size()) {
        return "size " + std::to_string(got.size()) + ", expected " +
               std::to_string(expected.size());
    }
    return "byte " + std::to_string(diff.first - got.begin()) + " is " +
           std::to_string(*diff.first) + ", expected " + std::to_string(*diff.second);
}

Bytes FrameAsRgb(const Frame& frame) {
    Bytes rgb;
    for (std::size_t i = 0; i + 2 < frame.topFirst.size(); i += 3) {
        rgb.insert(rgb.end(), {frame.topFirst[i + 2], frame.topFirst[i + 1], frame.topFirst[i]});
    }
    return rgb;
}

Bytes GreyPngClaiming(std::uint32_t width, std::uint32_t height) {
    Bytes header, data = {0x78, 0x01}; // zlib's header, then blocks stored as they are
    Append32(header, width, true);
    Append32(header, height, true);
    header.insert(header.end(), {8, 0, 0, 0, 0});
    for (int block = 0; block < 3; ++block) {
        data.insert(data.end(), {0, 0xFF, 0xFF, 0, 0});
        data.resize(data.size() + 0xFFFF, 0);
    }
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const auto& [type, body] : {std::make_pair("IHDR", header), std::make_pair("IDAT", data),
                                     std::make_pair("IEND", Bytes())}) {
        Append32(png, static_cast<std::uint32_t>(body.size()), true);
        const std::size_t start = png.size();
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), body.begin(), body.end());
        std::uint32_t crc = 0xFFFFFFFFu; // CRC-32 of type and data, bit by bit
        for (std::size_t i = start; i < png.size(); ++i) {
            for (int bit = 0; bit < 8; ++bit) {
                crc = crc >> 1 ^ (0xEDB88320u & (0u - ((crc ^ png[i] >> bit) & 1u)));
            }
        }
        Append32(png, ~crc, true);
    }
    return png;
}

Bytes BmpClaiming(std::int64_t width, std::int64_t height) {
    Bytes bmp = BmpFileBytes(PatternFrame(3, 2));
    Put32(bmp, 18, static_cast<std::uint32_t>(width));
    Put32(bmp, 22, static_cast<std::uint32_t>(height));
    return bmp;
}

Bytes IconOf(const Bytes& picture, std::size_t skip) {
    Bytes icon = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0};
    Append32(icon, static_cast<std::uint32_t>(picture.size() - skip));
    Append32(icon, 22);
    icon.insert(icon.end(), picture.begin() + static_cast<std::ptrdiff_t>(skip), picture.end());
    return icon;
}

Bytes JpegClaiming(std::uint16_t width, std::uint16_t height) {
    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF}; // SOI, then APP1 of 65535 bytes
    jpeg.resize(jpeg.size() + 0xFFFD, 0);
    jpeg.insert(jpeg.end(), {0xFF, 0xDB, 0, 67, 0}); // one table of 64 ones
    jpeg.resize(jpeg.size() + 64, 1);
    const auto hi = [](unsigned v) { return static_cast<std::uint8_t>(v >> 8); };
    const auto lo = [](unsigned v) { return static_cast<std::uint8_t>(v); };
    jpeg.insert(jpeg.end(), {0xFF, 0xC0, 0, 11, 8, hi(height), lo(height), hi(width), lo(width), 1,
                             1, 0x11, 0});
    // A DC and an AC table of one one-bit code each ("no change", "end of
    // block"): a decoder that runs out of scan decodes grey blocks in full.
    for (const std::uint8_t table : {0x00, 0x10}) {
        jpeg.insert(jpeg.end(), {0xFF, 0xC4, 0, 20, table, 1});
        jpeg.resize(jpeg.size() + 16, 0);
    }
    jpeg.insert(jpeg.end(), {0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0, 0, 0, 0, 0, 0xFF, 0xD9});
    return jpeg;
}

Bytes GifClaiming(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& pages) {
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i + 1 == pages.size()) {
            gif.insert(gif.end(), {0x21, 0xFE, 2, 'h', 'i', 0}); // a comment
        }
        const auto [width, height] = pages[i];
        gif.insert(gif.end(),
                   {0x2C, 0, 0, 0, 0, static_cast<std::uint8_t>(width),
                    static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(height),
                    static_cast<std::uint8_t>(height >> 8), 0, 2, 2, 0x44, 0x01, 0});
    }
    gif.push_back(0x3B);
    return gif;
}

Bytes GifFilled(std::vector<std::pair<std::uint16_t, std::uint16_t>> pages, std::size_t last) {
    pages.insert(pages.end(), last - 1, pages.back());
    Bytes gif = GifClaiming({}); // the header, a screen of one pixel, a global table, ...
    gif.pop_back();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const auto [width, height] = pages[i];
        const auto byte = [](std::size_t v) { return static_cast<std::uint8_t>(v); };
        const std::uint8_t n = byte(i + 1), m = byte(255 - n), w0 = byte(width),
                           w1 = byte(width >> 8), h0 = byte(height), h1 = byte(height >> 8);
        gif.insert(gif.end(), {0x21, 0xF9, 4,  0,  0,    0, 0,   0, 0x2C, 0, 0, 0, 0,
                               w0,   w1,   h0, h1, 0x80, n, 128, m, 0,    0, 0, 2});
        AppendLzwColourZero(std::uint64_t{width} * height, gif);
    }
    gif.push_back(0x3B);
    return gif;
}

Bytes TiffClaiming(const std::vector<TiffPage>& pages, bool bigEndian, bool loop) {
    const std::uint8_t order = bigEndian ? 'M' : 'I';
    Bytes tiff = {order, order};
    const auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            tiff.push_back(static_cast<std::uint8_t>(value >> 8 * (bigEndian ? bytes - 1 - i : i)));
        }
    };
    put(42, 2);
    put(10, 4);   // the first directory, after
    put(0x80, 2); // one grey pixel and a fill byte
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const TiffPage& page = pages[i];
        const bool tiled = page.tileWidth != 0;
        // Tag and value: LONG, or SHORT for bits, compression, colour and samples.
        const std::vector<std::pair<unsigned, std::uint32_t>> entries = {
            {256, page.width}, {257, page.height}, {258, 8},           {259, 1}, {262, 1},
            {273, 8},          {277, 1},           {278, page.height}, {279, 1}};
        const std::size_t count = entries.size() + (tiled ? 2 : 0);
        put(static_cast<std::uint32_t>(count), 2);
        for (const auto& [tag, value] : entries) {
            const bool isLong = tag != 258 && tag != 259 && tag != 262 && tag != 277;
            put(tag, 2), put(isLong ? 4 : 3, 2), put(1, 4);
            isLong ? put(value, 4) : (put(value, 2), put(0, 2));
        }
        if (tiled) {
            put(322, 2), put(4, 2), put(1, 4), put(page.tileWidth, 4);
            put(323, 2), put(4, 2), put(1, 4), put(page.tileHeight, 4);
        }
        const bool last = i + 1 == pages.size();
        put(last ? (loop ? 10 : 0) : static_cast<std::uint32_t>(tiff.size() + 4), 4);
    }
    return tiff;
}
