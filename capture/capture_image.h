#pragma once

#include <cstddef>
#include <vector>

// The largest frame the viewer takes.
constexpr int kMaxCaptureWidth = 1280;
constexpr int kMaxCaptureHeight = 1024;

// A picture as the raw frame file holds it: rows of width x 3 bytes (blue,
// green, red), no padding, the bottom row of the picture first.
struct CaptureImage {
    CaptureImage() = default;
    // Black, width x height, each side from 1 up to the largest frame, as
    // every source's size has been checked to be by now; any other size
    // gives an empty image rather than a product nobody checked.
    CaptureImage(int width, int height);
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bottomFirstBgr;
};

// Rows of 32-bit pixels as the codecs and the screen give them (blue, green,
// red and a fourth byte, which is dropped, transparency included), top row
// first and stride bytes apart, put in place in image: they are the
// picture's rows firstRow to firstRow + rowCount - 1, which image must have.
void PutTopFirstBgrxRows(const unsigned char* rows, int firstRow, int rowCount, std::size_t stride,
                         CaptureImage& image);

// The whole frame of such pixels.
CaptureImage FrameFromTopFirstBgrx(const unsigned char* pixels, int width, int height,
                                   std::size_t stride);
