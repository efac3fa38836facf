#include "capture/capture_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CaptureOptions Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "oxcapture");
    return ParseCaptureOptions(static_cast<int>(arguments.size()), arguments.data());
}

std::string SizeOf(const CaptureOptions& options) {
    return std::to_string(options.patternWidth) + "x" + std::to_string(options.patternHeight);
}

TEST(CaptureOptions, OptionsAndTheFileMayComeInAnyOrder) {
    CaptureOptions options = Parse({});
    EXPECT_TRUE(options.action == CaptureAction::kCapture && options.imagePath.empty() &&
                options.startViewer && options.waitForViewer);
    EXPECT_EQ("640x480", SizeOf(options));

    options = Parse({"--write-only", "shot.bmp"});
    EXPECT_EQ("shot.bmp", options.imagePath);
    EXPECT_FALSE(options.startViewer);
    options = Parse({"shot.bmp", "--no-wait"});
    EXPECT_TRUE(options.startViewer && !options.waitForViewer);
    options = Parse({"--size", "800x600", "--write-only"});
    EXPECT_EQ("800x600", SizeOf(options));
    EXPECT_EQ("1280x1024", SizeOf(Parse({"--size=1280x1024"})));
    // After "--" a name that looks like an option is the file.
    EXPECT_EQ("--help", Parse({"--", "--help"}).imagePath);
    EXPECT_EQ(4294967295ul, Parse({"--page=4294967295", "a.tif"}).page);
}

TEST(CaptureOptions, HelpWinsAndBadCommandLinesAreUsageErrors) {
    EXPECT_EQ(CaptureAction::kHelp, Parse({"a.bmp", "--help", "--bogus"}).action);
    EXPECT_EQ(CaptureAction::kHelp, Parse({"-h"}).action);
    EXPECT_EQ("/?", Parse({"--", "/?"}).imagePath);
    EXPECT_EQ(CaptureAction::kVersion, Parse({"--version"}).action);
    const struct {
        std::vector<const char*> arguments;
        const char* error;
    } cases[] = {
        {{"--frobnicate"}, "unrecognized option '--frobnicate'"},
        {{"--write-only=yes"}, "unrecognized option '--write-only=yes'"},
        {{"--size"}, "option '--size' requires an argument"},
        {{"--size", "big"}, "invalid size 'big' (expected WIDTHxHEIGHT, such as 800x600)"},
        {{"a.bmp", "b.bmp"}, "only one image file may be given"},
        {{"--page", "4294967296", "a.gif"}, "invalid page '4294967296': at most 4294967295"},
        {{"--region", "0,0,2147483648x1"},
         "invalid region '0,0,2147483648x1': a number in it is too large (at most 2147483647)"},
        {{"--size=8x8", "a.bmp"},
         "--size sets the test pattern's size and cannot be used with an image or the screen"},
        {{"--no-wait", "--write-only"}, "--no-wait and --write-only cannot be used together"},
    };
    for (const auto& c : cases) {
        const CaptureOptions options = Parse(c.arguments);
        EXPECT_EQ(CaptureAction::kUsageError, options.action) << c.error;
        EXPECT_EQ(c.error, options.error);
    }
}

TEST(FrameSize, TakesDecimalSizesUpTo1280x1024AndNothingElse) {
    const struct {
        const char* text;
        int width; // 0: refused
        int height;
    } cases[] = {
        {"1x1", 1, 1},
        {"1280x1024", 1280, 1024},
        {"800X600", 800, 600},
        {"0640x0480", 640, 480},
        {"", 0, 0},
        {"800", 0, 0},
        {"x600", 0, 0},
        {"800x", 0, 0},
        {"8x6x2", 0, 0},
        {"-800x600", 0, 0},
        {"+800x600", 0, 0},
        {"800 x600", 0, 0},
        {"0x600", 0, 0},
        {"800x0", 0, 0},
        {"1281x1024", 0, 0},
        {"1280x1025", 0, 0},
        {"4294967297x1", 0, 0},
    };
    for (const auto& c : cases) {
        int width = -1;
        int height = -1;
        std::string error;
        EXPECT_EQ(c.width != 0, ParseFrameSize(c.text, width, height, error))
            << "'" << c.text << "': " << error;
        EXPECT_EQ(c.width != 0 ? c.width : -1, width) << "'" << c.text << "'";
        EXPECT_EQ(c.width != 0 ? c.height : -1, height) << "'" << c.text << "'";
        EXPECT_EQ(c.width == 0, error.find(c.text) != std::string::npos) << error;
    }
}

} // namespace
