#pragma once

// Pixels of oxcapture's test pattern, worked out by hand from the rules in
// docs/formats.md ("The test pattern"), for every test that looks for it.

#include "support/frame_bytes.h"

#include <string>

struct PatternPixel {
    int width, height, x, y;
    const char* rgb; // red,green,blue
};

inline constexpr PatternPixel kPatternPixels[] = {
    // The marker: white border, red square, and the black bar beside it.
    {640, 480, 0, 0, "255,255,255"},
    {640, 480, 3, 20, "255,255,255"},
    {640, 480, 39, 39, "255,255,255"},
    {640, 480, 36, 20, "255,255,255"},
    {640, 480, 20, 20, "255,0,0"},
    {640, 480, 4, 4, "255,0,0"},
    {640, 480, 35, 35, "255,0,0"},
    {640, 480, 40, 1, "0,0,0"},
    {640, 480, 1, 40, "0,0,0"},
    // The grid, the last column and the last row.
    {640, 480, 40, 0, "128,128,128"},
    {640, 480, 64, 100, "128,128,128"},
    {640, 480, 639, 100, "128,128,128"},
    {640, 480, 100, 479, "128,128,128"},
    // The bars, left to right.
    {640, 480, 79, 100, "0,0,0"},
    {640, 480, 81, 100, "0,0,255"},
    {640, 480, 200, 100, "255,0,0"},
    {640, 480, 300, 100, "255,0,255"},
    {640, 480, 330, 100, "0,255,0"},
    {640, 480, 410, 100, "0,255,255"},
    {640, 480, 490, 100, "255,255,0"},
    {640, 480, 620, 20, "255,255,255"},
    {640, 480, 638, 239, "255,255,255"},
    // The gradient: blue to red across, more green downwards.
    {640, 480, 1, 241, "0,1,255"},
    {640, 480, 100, 240, "39,0,216"},
    {640, 480, 638, 241, "254,1,1"},
    {640, 480, 100, 478, "39,253,216"},
    {640, 480, 20, 460, "7,234,248"},
    // Other sizes move the bars and the gradient's steps.
    {800, 600, 99, 299, "0,0,0"},
    {800, 600, 101, 299, "0,0,255"},
    {800, 600, 101, 300, "32,0,223"},
    {96, 64, 0, 0, "255,255,255"},
    {96, 64, 5, 5, "255,0,0"},
    {96, 64, 40, 1, "255,0,255"},
    {96, 64, 95, 10, "128,128,128"},
    {96, 64, 41, 33, "110,8,145"},
    {1, 1, 0, 0, "255,255,255"},
};

// Checks the listed pixels of a width x height pattern in got (which may be
// larger, as a window's client area): "" when all are right, else what is wrong.
inline std::string WrongPatternPixels(int width, int height, const Frame& got) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    std::string wrong;
    int listed = 0;
    for (const PatternPixel& p : kPatternPixels) {
        if (p.width != width || p.height != height) {
            continue;
        }
        ++listed;
        const std::string rgb = p.x < got.width && p.y < got.height ? RgbAt(got, p.x, p.y) : "none";
        if (rgb != p.rgb) {
            wrong += " (" + std::to_string(p.x) + "," + std::to_string(p.y) + ") of " + size +
                     " is " + rgb + ", expected " + p.rgb + ";";
        }
    }
    return listed > 0 ? wrong : "no pixels listed for " + size;
}
