#pragma once

#include "tools/oxcapture/capture_image.h"

#include <cstddef>
#include <string>

// Turns the bytes of a whole BMP file into a bottom-row-first picture.
//
// Taken: the BITMAPINFOHEADER (40 bytes) and the larger V2, V3, V4 and V5
// headers (52, 56, 108, 124 bytes); 24 and 32 bits per pixel, BI_RGB, and at
// 32 bits BI_BITFIELDS (or BI_ALPHABITFIELDS) with the standard masks
// red 0x00FF0000, green 0x0000FF00, blue 0x000000FF; bottom-up (positive
// height) and top-down (negative height) rows, each padded to 4 bytes. The
// padding of the last row may be missing. A fourth (alpha) byte is dropped.
//
// Refused, with a one-line reason and image untouched: anything else, a
// picture wider than 1280 or taller than 1024, and a header that places any
// pixel beyond the end of the bytes.
bool DecodeBmp(const unsigned char* data, std::size_t size, CaptureImage& image,
               std::string& reason);
