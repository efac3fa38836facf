#include "capture/test_pattern.h"

#include <cstddef>

namespace {

constexpr int kMarkerOuter = 40;
constexpr int kMarkerBorder = 4;
constexpr int kGridSpacing = 32;
constexpr int kBarCount = 8;

constexpr PatternColour kRed = {255, 0, 0};
constexpr PatternColour kWhite = {255, 255, 255};
constexpr PatternColour kGrey = {128, 128, 128};

unsigned char Ramp(int position, int count) {
    return count > 1 ? static_cast<unsigned char>(position * 255 / (count - 1)) : 0;
}

} // namespace

PatternColour TestPatternPixel(int x, int y, int width, int height) {
    if (x < kMarkerOuter && y < kMarkerOuter) {
        const bool inside = x >= kMarkerBorder && x < kMarkerOuter - kMarkerBorder &&
                            y >= kMarkerBorder && y < kMarkerOuter - kMarkerBorder;
        return inside ? kRed : kWhite;
    }
    if (x % kGridSpacing == 0 || y % kGridSpacing == 0 || x == width - 1 || y == height - 1) {
        return kGrey;
    }
    const int barRows = height / 2;
    if (y < barRows) {
        // Widths are at most 1280, so the product stays small.
        const int bar = x * kBarCount / width;
        return {static_cast<unsigned char>(bar & 2 ? 255 : 0),
                static_cast<unsigned char>(bar & 4 ? 255 : 0),
                static_cast<unsigned char>(bar & 1 ? 255 : 0)};
    }
    const unsigned char red = Ramp(x, width);
    return {red, Ramp(y - barRows, height - barRows), static_cast<unsigned char>(255 - red)};
}

CaptureImage MakeTestPattern(int width, int height) {
    CaptureImage image(width, height);
    unsigned char* out = image.bottomFirstBgr.data();
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x, out += 3) {
            const PatternColour colour = TestPatternPixel(x, y, image.width, image.height);
            out[0] = colour.blue;
            out[1] = colour.green;
            out[2] = colour.red;
        }
    }
    return image;
}
