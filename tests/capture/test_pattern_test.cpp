#include "capture/test_pattern.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

std::string Text(PatternColour colour) {
    return std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
           std::to_string(colour.blue);
}

TEST(TestPattern, KnownPixelsMatchTheDefinition) {
    const struct {
        int width, height, x, y;
        const char* rgb;
    } cases[] = {
        // The marker: white border, red square, and the black bar beside it.
        {640, 480, 0, 0, "255,255,255"},
        {640, 480, 3, 20, "255,255,255"},
        {640, 480, 39, 39, "255,255,255"},
        {640, 480, 36, 20, "255,255,255"},
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
        {640, 480, 638, 239, "255,255,255"},
        {800, 600, 99, 299, "0,0,0"},
        {800, 600, 101, 299, "0,0,255"},
        // The gradient: blue to red across, more green downwards.
        {640, 480, 1, 241, "0,1,255"},
        {640, 480, 100, 240, "39,0,216"},
        {640, 480, 638, 241, "254,1,1"},
        {640, 480, 100, 478, "39,253,216"},
        {640, 480, 20, 460, "7,234,248"},
        {800, 600, 101, 300, "32,0,223"},
        {1, 1, 0, 0, "255,255,255"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.rgb, Text(TestPatternPixel(c.x, c.y, c.width, c.height)))
            << "pixel (" << c.x << "," << c.y << ") of " << c.width << "x" << c.height;
    }
}

TEST(TestPattern, PictureIsStoredBottomRowFirstAsBlueGreenRed) {
    const CaptureImage image = MakeTestPattern(640, 480);
    ASSERT_EQ(640, image.width);
    ASSERT_EQ(480, image.height);
    ASSERT_EQ(640u * 480u * 3u, image.bottomFirstBgr.size());
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const unsigned char* at =
                &image.bottomFirstBgr[((479 - static_cast<std::size_t>(y)) * 640 + x) * 3];
            const PatternColour stored = {at[2], at[1], at[0]};
            ASSERT_EQ(Text(TestPatternPixel(x, y, 640, 480)), Text(stored))
                << "pixel (" << x << "," << y << ")";
        }
    }
}

} // namespace
