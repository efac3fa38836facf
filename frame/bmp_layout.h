#pragma once

#include <windows.h>

constexpr DWORD kBmpFileHeaderBytes = 14;
constexpr DWORD kBmpInfoHeaderBytes = 40;
constexpr DWORD kBmpPixelOffset = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;

// A row of 24-bit pixels rounded up to a multiple of 4 bytes.
unsigned long long BmpStride(int width);
unsigned long long BmpFileSize(int width, int height);

void FillBmpFileHeader(BYTE (&header)[kBmpFileHeaderBytes], int width, int height);
void FillBmpInfoHeader(BYTE (&header)[kBmpInfoHeaderBytes], int width, int height);

// Takes a BMP file's bytes in order, one write request per call; returns 0
// or the system error code that stops the stream.
class BmpSink {
  public:
    virtual DWORD Write(const BYTE* data, DWORD count) = 0;

  protected:
    ~BmpSink() = default;
};

// Streams a whole 24-bit BMP: the file header and the information header in
// a request each, then the rows (given bottom row first, without fill), each
// followed by zero bytes up to the stride. Returns 0 or the sink's error.
DWORD StreamBmp(const BYTE* bottomFirstRows, int width, int height, BmpSink& sink);
