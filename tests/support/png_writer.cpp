#include "support/png_writer.h"

#include <cstdio>

namespace {

DWORD Crc32(const std::vector<BYTE>& data, size_t from) {
    DWORD crc = 0xFFFFFFFFu;
    for (size_t i = from; i < data.size(); ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutBE32(std::vector<BYTE>& out, DWORD value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<BYTE>(value >> shift));
    }
}

void Chunk(std::vector<BYTE>& file, const char* type, const std::vector<BYTE>& body) {
    PutBE32(file, static_cast<DWORD>(body.size()));
    const size_t typeAt = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), body.begin(), body.end());
    PutBE32(file, Crc32(file, typeAt));
}

} // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<COLORREF>& pixels) {
    std::vector<BYTE> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixels[static_cast<size_t>(y) * width + x];
            raw.push_back(GetRValue(c));
            raw.push_back(GetGValue(c));
            raw.push_back(GetBValue(c));
        }
    }
    std::vector<BYTE> zlib = {0x78, 0x01};
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        zlib.push_back(at + n >= raw.size() ? 1 : 0);
        zlib.push_back(static_cast<BYTE>(n));
        zlib.push_back(static_cast<BYTE>(n >> 8));
        zlib.push_back(static_cast<BYTE>(~n));
        zlib.push_back(static_cast<BYTE>(~n >> 8));
        zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + n);
        if (raw.empty()) {
            break;
        }
    }
    DWORD a = 1, b = 0;
    for (BYTE byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBE32(zlib, b << 16 | a);

    std::vector<BYTE> header;
    PutBE32(header, static_cast<DWORD>(width));
    PutBE32(header, static_cast<DWORD>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    std::vector<BYTE> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Chunk(file, "IHDR", header);
    Chunk(file, "IDAT", zlib);
    Chunk(file, "IEND", {});

    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}
