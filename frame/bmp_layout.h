#pragma once

// Plain C++ only: the layout also builds and is fuzzed off Windows.
#include "core/bmp_file_header.h"

#include <cstdint>

constexpr std::uint32_t kBmpInfoHeaderBytes = 40;
constexpr std::uint32_t kBmpPixelOffset = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;

// A row of 24-bit pixels rounded up to a multiple of 4 bytes.
unsigned long long BmpStride(int width);
unsigned long long BmpFileSize(int width, int height);

void FillBmpFileHeader(std::uint8_t (&header)[kBmpFileHeaderBytes], int width, int height);
void FillBmpInfoHeader(std::uint8_t (&header)[kBmpInfoHeaderBytes], int width, int height);

// Takes a BMP file's bytes in order, one write request per call; returns 0
// or the system error code that stops the stream.
class BmpSink {
  public:
    virtual std::uint32_t Write(const std::uint8_t* data, std::uint32_t count) = 0;

  protected:
    ~BmpSink() = default;
};

// What StreamBmp returns, writing nothing, for a picture whose file would not
// fit the format's 32-bit size field (the system's ERROR_ARITHMETIC_OVERFLOW).
constexpr std::uint32_t kBmpTooLarge = 534;

// Streams a whole 24-bit BMP: the file header and the information header in
// a request each, then the rows (given bottom row first, without fill), each
// followed by zero bytes up to the stride. Returns 0, kBmpTooLarge or the
// sink's error.
std::uint32_t StreamBmp(const std::uint8_t* bottomFirstRows, int width, int height, BmpSink& sink);
