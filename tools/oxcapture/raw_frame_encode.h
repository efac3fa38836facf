#pragma once

#include "tools/oxcapture/capture_image.h"

#include <vector>

// The raw frame file as written here, little-endian throughout:
//   0-7    "OXRAWFRM"
//   8-11   format version, 1
//   12-15  reserved, 0
//   16-19  width, signed
//   20-23  height, signed
//   24-    width x height x 3 bytes: blue, green, red; bottom row first
// The viewer reads only the width, the height and the pixels.
constexpr unsigned char kRawFrameSignature[8] = {'O', 'X', 'R', 'A', 'W', 'F', 'R', 'M'};
constexpr unsigned long kRawFrameVersion = 1;

// The whole file for image, whose pixels must hold width x height x 3 bytes.
std::vector<unsigned char> EncodeRawFrame(const CaptureImage& image);
