// The pure rules for the sources: how the command line names them, what
// size a frame may be, where on the desktop a capture may look, and how a
// codec's failure reads.

#include "tools/oxcapture/capture_limits.h"
#include "tools/oxcapture/capture_options.h"
#include "tools/oxcapture/imaging_errors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CaptureOptions Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "oxcapture");
    return ParseCaptureOptions(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CaptureSources, EachSourceTakesItsOwnOptions) {
    CaptureOptions options = Parse({"photo.png", "--page", "3", "--fit"});
    EXPECT_TRUE(options.source == CaptureSource::kFile && options.page == 3 && options.fit);
    options = Parse({"--screen", "--fit", "--delay=2"});
    EXPECT_TRUE(options.source == CaptureSource::kScreen && options.fit);
    EXPECT_EQ(2000u, options.delayMs);
    options = Parse({"--region", "-10,20,30x40", "--delay", "0.25"});
    EXPECT_EQ(CaptureSource::kRegion, options.source);
    EXPECT_EQ("-10,20,30x40", AreaText(options.region));
    EXPECT_EQ(250u, options.delayMs);
    options = Parse({"--window=Untitled - Notepad", "--write-only"});
    EXPECT_EQ(CaptureSource::kWindow, options.source);
    EXPECT_EQ("Untitled - Notepad", options.windowTitle);
    // An empty region is the capture's to refuse, with exit code 1.
    EXPECT_EQ(CaptureAction::kCapture, Parse({"--region", "0,0,0x10"}).action);
}

TEST(CaptureSources, BadCombinationsAndValuesAreUsageErrors) {
    const char* const oneSource =
        "only one source may be given: a picture file, --screen, --region or --window";
    const struct {
        std::vector<const char*> arguments;
        const char* error;
    } cases[] = {
        {{"a.png", "--screen"}, oneSource},
        {{"--window", "Notes", "--region", "0,0,8x8"}, oneSource},
        {{"--screen", "b.png"}, oneSource},
        {{"--page", "2"}, "--page goes only with a picture file"},
        {{"--page", "0", "a.gif"}, "invalid page '0' (expected a page number, from 1)"},
        {{"--size", "8x8", "--screen"},
         "--size sets the test pattern's size and cannot be used with an image or the screen"},
        {{"--fit"}, "--fit goes only with a picture file or the screen"},
        {{"--delay", "1", "a.png"}, "--delay goes only with --screen, --region or --window"},
        {{"--screen", "--delay", "-1"}, "invalid delay '-1' (expected seconds, such as 3 or 0.5)"},
        {{"--screen", "--delay", "1."}, "invalid delay '1.' (expected seconds, such as 3 or 0.5)"},
        {{"--screen", "--delay", "3600.5"}, "invalid delay '3600.5': at most 3600 seconds"},
        {{"--region", "1,2,3"},
         "invalid region '1,2,3' (expected X,Y,WIDTHxHEIGHT, such as 0,0,800x600)"},
        {{"--region", "1,2,-3x4"},
         "invalid region '1,2,-3x4' (expected X,Y,WIDTHxHEIGHT, such as 0,0,800x600)"},
        {{"--region", "1,,3x4"},
         "invalid region '1,,3x4' (expected X,Y,WIDTHxHEIGHT, such as 0,0,800x600)"},
        {{"--region"}, "option '--region' requires an argument"},
        {{"--window", ""}, "option '--window' requires a window title"},
    };
    for (const auto& c : cases) {
        const CaptureOptions options = Parse(c.arguments);
        EXPECT_EQ(CaptureAction::kUsageError, options.action) << c.error;
        EXPECT_EQ(c.error, options.error);
    }
}

TEST(FramePlan, LargeSourcesAreRefusedOrShrunkKeepingTheirAspectRatio) {
    const struct {
        unsigned long long width;
        unsigned long long height;
        bool fit;
        const char* expected; // the frame's size, or the reason
    } cases[] = {
        {1280, 1024, false, "1280x1024"},
        {1, 1, true, "1x1"},
        {2000, 1000, false, "image is 2000x1000, larger than 1280x1024; --fit scales it down"},
        {2000, 1000, true, "1280x640"},
        {1920, 1200, true, "1280x800"},
        {2560, 2048, true, "1280x1024"},
        {1281, 1024, true, "1280x1023"}, // 1023.2, rounded
        {1000, 3000, true, "341x1024"},  // 341.3
        {1000, 1500, true, "683x1024"},  // 682.7
        {5000, 1, true, "1280x1"},       // never less than one row
        {1, 5000, true, "1x1024"},
        {0, 480, true, "image is 0x480: it has no pixels"},
        {640, 0, false, "image is 640x0: it has no pixels"},
    };
    for (const auto& c : cases) {
        int width = -1;
        int height = -1;
        std::string reason;
        const bool planned =
            PlanFrameSize(c.width, c.height, c.fit, "image", width, height, reason);
        const std::string got =
            planned ? std::to_string(width) + "x" + std::to_string(height) : reason;
        EXPECT_EQ(c.expected, got) << c.width << "x" << c.height << (c.fit ? " --fit" : "");
    }
}

TEST(DesktopArea, RegionsMustLieOnItAndWindowsAreCutToIt) {
    // Two monitors, the second left of the primary one.
    const ScreenArea desktop = {-1024, 0, 2944, 1200};
    std::string reason;
    EXPECT_TRUE(CheckRegionOnDesktop({-1024, 0, 2944, 1200}, desktop, reason));
    EXPECT_TRUE(CheckRegionOnDesktop({-10, 1190, 20, 10}, desktop, reason));
    EXPECT_FALSE(CheckRegionOnDesktop({1900, 0, 21, 10}, desktop, reason));
    EXPECT_EQ("the region is not wholly on the desktop, which is -1024,0,2944x1200", reason);
    EXPECT_FALSE(CheckRegionOnDesktop({-1025, 0, 10, 10}, desktop, reason));
    EXPECT_FALSE(CheckRegionOnDesktop({0, 1195, 10, 10}, desktop, reason));
    EXPECT_FALSE(CheckRegionOnDesktop({5, 5, 0, 10}, desktop, reason));
    EXPECT_EQ("the region is empty", reason);

    ScreenArea visible;
    ASSERT_TRUE(ClipToDesktop({1900, -30, 100, 80}, desktop, visible, reason));
    EXPECT_EQ("1900,0,20x50", AreaText(visible));
    EXPECT_FALSE(ClipToDesktop({1920, 10, 100, 80}, desktop, visible, reason));
    EXPECT_EQ("the window 1920,10,100x80 is not on the desktop, which is -1024,0,2944x1200",
              reason);
}

TEST(ImagingFailure, KnownCodesReadAsWordsAndOthersKeepTheirNumber) {
    EXPECT_EQ("not a picture format this system can read",
              ImagingFailure(0x88982F50ul, "cannot read it as a picture", ""));
    EXPECT_EQ("cannot decode its pixels: Unspecified error",
              ImagingFailure(0x80004005ul, "cannot decode its pixels", "Unspecified error"));
    // The system has no words for the imaging component's own codes.
    EXPECT_EQ("cannot decode its pixels: error 0x88982F99",
              ImagingFailure(0x88982F99ul, "cannot decode its pixels", "system error 123"));
}

} // namespace
