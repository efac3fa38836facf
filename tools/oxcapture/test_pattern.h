#pragma once

#include "tools/oxcapture/capture_image.h"

// The built-in test pattern, defined pixel by pixel for a picture of
// width x height (each at least 1). x counts from the left (0) and y from the
// top (0). The first rule that applies gives the colour:
//
// 1. Marker, x < 40 and y < 40: pure red (255,0,0) where 4 <= x < 36 and
//    4 <= y < 36 (a 32 x 32 square), white (255,255,255) in the 4-pixel border
//    around it. It sits on the black bar, so the top-left corner shows at a
//    glance; a flipped, mirrored or red/blue-swapped picture moves it or
//    turns it blue.
// 2. Grid, x % 32 == 0, y % 32 == 0, x == width - 1 or y == height - 1:
//    grey (128,128,128). The last column and row show the frame's edge.
// 3. Colour bars, y < height / 2: bar i = x * 8 / width (0..7) has red 255
//    when i & 2, green 255 when i & 4, blue 255 when i & 1, else 0: black,
//    blue, red, magenta, green, cyan, yellow, white from left to right.
// 4. Gradient, the other rows: with gy = y - height / 2 and
//    gh = height - height / 2, red = x * 255 / (width - 1),
//    green = gy * 255 / (gh - 1), blue = 255 - red (integer division; a
//    divisor of 0 gives 0). Blue on the left, red on the right, more green
//    towards the bottom.
struct PatternColour {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};

PatternColour TestPatternPixel(int x, int y, int width, int height);

// The whole pattern, in the raw frame's order (bottom row first).
CaptureImage MakeTestPattern(int width, int height);
