// The pure rules for the sources: the command line, the frame's size and
// the desktop checks.

#include "capture/capture_limits.h"
#include "capture/capture_options.h"
#include "capture/imaging_errors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CaptureOptions Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "oxcapture");
    return ParseCaptureOptions(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CaptureSources, OptionsGoWithTheirSourcesOnly) {
    const CaptureOptions region = Parse({"--region", "-10,20,30x40", "--delay=0.25"});
    EXPECT_EQ("-10,20,30x40", AreaText(region.region));
    EXPECT_EQ(250u, region.delayMs);
    const char* const oneSource =
        "only one source may be given: a picture file, --screen, --region or --window";
    const char* const badRegion =
        "invalid region '1,2,-3x4' (expected X,Y,WIDTHxHEIGHT, such as 0,0,800x600)";
    const struct {
        std::vector<const char*> arguments;
        const char* error;
    } cases[] = {
        {{"a.png", "--screen"}, oneSource},
        {{"--window", "Notes", "--region", "0,0,8x8"}, oneSource},
        {{"--page", "2"}, "--page goes only with a picture file"},
        {{"--page", "0", "a.gif"}, "invalid page '0' (expected a page number, from 1)"},
        {{"--size", "8x8", "--screen"},
         "--size sets the test pattern's size and cannot be used with an image or the screen"},
        {{"--fit"}, "--fit goes only with a picture file or the screen"},
        {{"--delay", "1", "a.png"}, "--delay goes only with --screen, --region or --window"},
        {{"--screen", "--delay", "-1"}, "invalid delay '-1' (expected seconds, such as 3 or 0.5)"},
        {{"--screen", "--delay", "3600.5"}, "invalid delay '3600.5': at most 3600 seconds"},
        {{"--region", "1,2,-3x4"}, badRegion},
        {{"--window", ""}, "option '--window' requires a window title"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.error, Parse(c.arguments).error);
    }
}

TEST(FramePlan, LargeSourcesAreRefusedOrShrunkKeepingTheirAspectRatio) {
    const struct {
        long long width, height;
        bool fit;
        const char* expected; // the frame's size, or the reason
    } cases[] = {
        {1280, 1024, false, "1280x1024"},
        {2000, 1000, false, "image is 2000x1000, larger than 1280x1024; --fit scales it down"},
        {2000, 1000, true, "1280x640"},
        {1281, 1024, true, "1280x1023"}, // 1023.2, rounded
        {1000, 1500, true, "683x1024"},  // 682.7
        {5000, 1, true, "1280x1"},       // never less than one row
        {0, 480, true, "image is 0x480: it has no pixels"},
        {-10, 2, false, "image is -10x2: it has no pixels"},
        {16384, 16384, true, "1024x1024"}, // 2^28 pixels, the most
        {16384, 16385, true, "image is 16384x16385, more than 268435456 pixels: too large to read"},
    };
    for (const auto& c : cases) {
        int width = -1, height = -1;
        std::string reason;
        const bool planned =
            PlanFrameSize(c.width, c.height, c.fit, "image", width, height, reason);
        EXPECT_EQ(c.expected,
                  planned ? std::to_string(width) + "x" + std::to_string(height) : reason);
    }
}

TEST(DesktopArea, RegionsMustLieOnItAndWindowsAreCutToIt) {
    const ScreenArea desktop = {-1024, 0, 2944, 1200}; // a second monitor on the left
    std::string reason;
    EXPECT_TRUE(CheckRegionOnDesktop({-1024, 1190, 2944, 10}, desktop, reason));
    EXPECT_FALSE(CheckRegionOnDesktop({1900, 0, 21, 10}, desktop, reason));
    EXPECT_FALSE(CheckRegionOnDesktop({-1025, 0, 10, 10}, desktop, reason));
    EXPECT_EQ("the region is not wholly on the desktop, which is -1024,0,2944x1200", reason);
    ScreenArea visible;
    ASSERT_TRUE(ClipToDesktop({1900, -30, 100, 80}, desktop, visible, reason));
    EXPECT_EQ("1900,0,20x50", AreaText(visible));
    EXPECT_FALSE(ClipToDesktop({1920, 10, 100, 80}, desktop, visible, reason));
}

TEST(ImagingFailure, KnownCodesReadAsWordsOthersAsTheSystemSaysOrInHex) {
    EXPECT_EQ("not a picture format this system can read", ImagingFailure(0x88982F50, "read", ""));
    EXPECT_EQ("read: Call failed", ImagingFailure(0x80004005, "read", "Call failed"));
    EXPECT_EQ("read: error 0x88982F99", ImagingFailure(0x88982F99, "read", "system error 9"));
    // Whatever the file's signature names, what says "unsupported" stays so.
    EXPECT_EQ("unsupported pixel format", ImagingFailure(0x88982F80, "read", "", "BMP"));
}

} // namespace
