#pragma once

// What the first bytes of a picture file say, read before any decoder sees
// the file: a decoder may take the whole picture into memory as soon as it is
// made, so a size no frame could come from must be refused here. Plain C++,
// so that the decision is fuzzed natively like the raw frame checks.

#include <cstddef>
#include <cstdint>
#include <string>

// How many bytes of the file's start the reading below needs at most.
constexpr std::size_t kPictureHeaderBytes = 64;

// The formats named by their signatures.
enum class PictureFormat { kUnknown, kPng, kBmp, kJpeg, kGif, kTiff, kIco };

struct PictureHeader {
    PictureFormat format = PictureFormat::kUnknown;
    // Where the format keeps the size at a fixed place (PNG, BMP): the size
    // as the file gives it, a BMP's top-down sign already taken off.
    bool sizeKnown = false;
    long long width = 0;
    long long height = 0;
    // Why the header itself is damaged or cut short; empty when it is not.
    std::string damage;
};

// count is how many bytes of the file's start there are (fewer in a short
// file). The signatures of PNG, BMP, JPEG, GIF, TIFF and ICO name the
// format; PNG's IHDR chunk and BMP's 12-byte and larger headers the size.
PictureHeader ReadPictureHeader(const std::uint8_t* bytes, std::size_t count);

// An icon's pages are pictures of their own, each a whole PNG file or a
// BMP's information header and pixels, which a decoder reads when the page is
// asked for. The directory at the start of the file gives the number of
// pages; page's 16-byte entry in it (page from 1) lies at IconEntryOffset and
// gives the offset of the page's picture, whose first bytes ReadIconImage
// reads like ReadPictureHeader (format kIco).
constexpr std::size_t kIconEntryBytes = 16;
unsigned long IconPageCount(const std::uint8_t* bytes, std::size_t count);
unsigned long long IconEntryOffset(unsigned long page);
unsigned long long IconImageOffset(const std::uint8_t* entry);
PictureHeader ReadIconImage(const std::uint8_t* bytes, std::size_t count);

// "PNG", "BMP", ..., or "" for kUnknown.
const char* FormatName(PictureFormat format);

// Whether a file with this header may go to a decoder: refused, with the
// reason in words, when the header is damaged or the size it gives cannot
// become a frame (see PlanFrameSize).
bool CheckPictureHeader(const PictureHeader& header, bool fit, std::string& reason);
