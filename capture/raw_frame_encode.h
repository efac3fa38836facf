#pragma once

#include "capture/capture_image.h"

#include <vector>

// The raw frame file as written here: "OXRAWFRM", version 1, a reserved 0,
// the size and the pixels bottom row first (docs/formats.md, "The raw frame file
// as oxcapture writes it"). The viewer reads only the size and the pixels.
constexpr unsigned char kRawFrameSignature[8] = {'O', 'X', 'R', 'A', 'W', 'F', 'R', 'M'};
constexpr unsigned long kRawFrameVersion = 1;

// The whole file for image, whose pixels must hold width x height x 3 bytes.
std::vector<unsigned char> EncodeRawFrame(const CaptureImage& image);
