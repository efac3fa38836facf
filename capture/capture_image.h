#pragma once

#include <cstddef>
#include <vector>

// A picture as the raw frame file holds it: rows of width x 3 bytes (blue,
// green, red), no padding, the bottom row of the picture first.
struct CaptureImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bottomFirstBgr;
};

// The largest frame the viewer takes.
constexpr int kMaxCaptureWidth = 1280;
constexpr int kMaxCaptureHeight = 1024;

// Rows of 32-bit pixels as the codecs and the screen give them (blue, green,
// red and a fourth byte, which is dropped, transparency included), top row
// first and stride bytes apart, put in place in image, whose size is set:
// they are the picture's rows firstRow to firstRow + rowCount - 1.
void PutTopFirstBgrxRows(const unsigned char* rows, int firstRow, int rowCount, std::size_t stride,
                         CaptureImage& image);

// The whole frame of such pixels.
CaptureImage FrameFromTopFirstBgrx(const unsigned char* pixels, int width, int height,
                                   std::size_t stride);
