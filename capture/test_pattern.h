#pragma once

#include "capture/capture_image.h"

// The built-in test pattern, defined pixel by pixel for a picture of
// width x height (each at least 1), x from the left and y from the top. The
// rules (marker, grid, colour bars, gradient) and pixels to check are in
// docs/formats.md, "The test pattern"; this follows them rule for rule.
struct PatternColour {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};

PatternColour TestPatternPixel(int x, int y, int width, int height);

// The whole pattern, in the raw frame's order (bottom row first).
CaptureImage MakeTestPattern(int width, int height);
