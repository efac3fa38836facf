#pragma once

// ImageMagick, the decoder and writer the tests trust, run on the Unix side
// of Wine, and the files it shares with the programs under test.

#include "support/frame_bytes.h"

#include <string>
#include <vector>

// A file of the tests' own on Wine's Z: drive, so ImageMagick can reach it too.
std::string ScratchPath(const std::string& name);

// Runs ImageMagick ("magick", or "convert") on arguments, Windows paths as the Unix paths they
// name, and writes output, in format when one is given ("rgb", "png"); true if it is in time.
bool ConvertWithImageMagick(const std::vector<std::string>& arguments, const std::string& output,
                            const std::string& format = "");

// A picture file as top-first red-green-blue bytes; empty when it cannot.
Bytes DecodeWithImageMagick(const std::string& picture);

// Writes the pages as one picture file, in the name's format unless one
// such as "BMP3" is given; options (words) go before the output name.
bool MakeImage(const std::vector<Frame>& pages, const std::string& options, const std::string& path,
               const std::string& format = "");
