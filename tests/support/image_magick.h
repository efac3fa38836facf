#pragma once

// ImageMagick, the decoder the tests trust, run on the Unix side of Wine.

#include "support/frame_bytes.h"

#include <string>
#include <vector>

// Runs ImageMagick ("magick" where it is installed, "convert" otherwise) on
// arguments and writes output, in format when one is given ("rgb", "png").
// Windows paths under Z: are passed as the Unix paths they name. True when
// output is there before the deadline.
bool ConvertWithImageMagick(const std::vector<std::string>& arguments, const std::string& output,
                            const std::string& format = "");

// Decodes a picture file into top-first red-green-blue bytes; empty when it
// cannot.
Bytes DecodeWithImageMagick(const std::string& picture);
