// The capture program's pure rules: its command line, the frame's size, the
// desktop checks, the words for imaging failures and the test pattern.

#include "capture/capture_limits.h"
#include "capture/capture_options.h"
#include "capture/gif_page.h"
#include "capture/imaging_errors.h"
#include "capture/picture_check.h"
#include "capture/test_pattern.h"
#include "support/memory_source.h"
#include "support/test_pattern_pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>
#include <vector>

namespace {

// What the command line asks for, in a few words, or its usage error.
std::string Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "oxcapture");
    const CaptureOptions o =
        ParseCaptureOptions(static_cast<int>(arguments.size()), arguments.data());
    if (o.action != CaptureAction::kCapture) {
        return o.action == CaptureAction::kHelp      ? "help"
               : o.action == CaptureAction::kVersion ? "version"
                                                     : o.error;
    }
    std::string text = SourceWord(o.source) + (" " + o.imagePath + o.windowTitle);
    if (o.source == CaptureSource::kPattern) {
        text += std::to_string(o.patternWidth) + "x" + std::to_string(o.patternHeight);
    }
    if (o.source == CaptureSource::kRegion) {
        text += AreaText(o.region);
    }
    text += o.page != 1 ? ", page " + std::to_string(o.page) : "";
    text += o.delayMs != 0 ? ", " + std::to_string(o.delayMs) + " ms" : "";
    text += o.fit ? ", fit" : "";
    return text + (o.startViewer ? "" : ", write-only") + (o.waitForViewer ? "" : ", no-wait");
}

TEST(CaptureOptions, EachCommandLineAsksForOneThingOrIsAUsageError) {
    const char* const oneSource =
        "only one source may be given: a picture file, --screen, --region or --window";
    const char* const sizeNotHere =
        "--size sets the test pattern's size and cannot be used with an image or the screen";
    const struct {
        std::vector<const char*> arguments;
        const char* expected;
    } cases[] = {
        {{}, "test pattern 640x480"},
        // Options and the file may come in any order.
        {{"--write-only", "shot.bmp"}, "image shot.bmp, write-only"},
        {{"shot.bmp", "--no-wait"}, "image shot.bmp, no-wait"},
        {{"--size", "800x600", "--write-only"}, "test pattern 800x600, write-only"},
        {{"--size=1280x1024"}, "test pattern 1280x1024"},
        {{"--page=4294967295", "a.tif"}, "image a.tif, page 4294967295"},
        {{"--region", "-10,20,30x40", "--delay=0.25"}, "region -10,20,30x40, 250 ms"},
        {{"--window", "Notes", "--fit"}, "window Notes, fit"},
        // After "--" a name that looks like an option is the file.
        {{"--", "--help"}, "image --help"},
        {{"--", "/?"}, "image /?"},
        // Help wins over what follows it.
        {{"a.bmp", "--help", "--bogus"}, "help"},
        {{"-h"}, "help"},
        {{"--version"}, "version"},
        {{"--frobnicate"}, "unrecognized option '--frobnicate'"},
        {{"--write-only=yes"}, "unrecognized option '--write-only=yes'"},
        {{"--size"}, "option '--size' requires an argument"},
        {{"--size", "big"}, "invalid size 'big' (expected WIDTHxHEIGHT, such as 800x600)"},
        {{"a.bmp", "b.bmp"}, "only one image file may be given"},
        {{"--page", "4294967296", "a.gif"}, "invalid page '4294967296': at most 4294967295"},
        {{"--region", "0,0,2147483648x1"},
         "invalid region '0,0,2147483648x1': a number in it is too large (at most 2147483647)"},
        {{"--size=8x8", "a.bmp"}, sizeNotHere},
        {{"--no-wait", "--write-only"}, "--no-wait and --write-only cannot be used together"},
        // Options go with their sources only.
        {{"a.png", "--screen"}, oneSource},
        {{"--window", "Notes", "--region", "0,0,8x8"}, oneSource},
        {{"--page", "2"}, "--page goes only with a picture file"},
        {{"--screen", "--page", "2"}, "--page goes only with a picture file"},
        {{"--page", "0", "a.gif"}, "invalid page '0' (expected a page number, from 1)"},
        {{"--size", "8x8", "--screen"}, sizeNotHere},
        {{"--fit"}, "--fit goes only with a picture file or the screen"},
        {{"--delay", "1", "a.png"}, "--delay goes only with --screen, --region or --window"},
        {{"--screen", "--delay", "-1"}, "invalid delay '-1' (expected seconds, such as 3 or 0.5)"},
        {{"--screen", "--delay", "3600.5"}, "invalid delay '3600.5': at most 3600 seconds"},
        {{"--region", "1,2,-3x4"},
         "invalid region '1,2,-3x4' (expected X,Y,WIDTHxHEIGHT, such as 0,0,800x600)"},
        {{"--window", ""}, "option '--window' requires a window title"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, Parse(c.arguments)) << "row " << &c - cases;
    }
}

TEST(FrameSize, TakesDecimalSizesUpTo1280x1024AndNothingElse) {
    const struct {
        const char* text;
        int width, height;
    } taken[] = {
        {"1x1", 1, 1}, {"1280x1024", 1280, 1024}, {"800X600", 800, 600}, {"0640x0480", 640, 480}};
    for (const auto& c : taken) {
        int width = -1, height = -1;
        std::string error;
        EXPECT_TRUE(ParseFrameSize(c.text, width, height, error)) << c.text << ": " << error;
        EXPECT_EQ(std::make_pair(c.width, c.height), std::make_pair(width, height)) << c.text;
    }
    for (const char* text : {"", "800", "x600", "800x", "8x6x2", "-800x600", "+800x600", "800 x600",
                             "0x600", "800x0", "1281x1024", "1280x1025", "4294967297x1"}) {
        int width = -1, height = -1;
        std::string error;
        EXPECT_FALSE(ParseFrameSize(text, width, height, error)) << "'" << text << "'";
        EXPECT_EQ(std::make_pair(-1, -1), std::make_pair(width, height)) << "'" << text << "'";
        EXPECT_NE(std::string::npos, error.find(text)) << error;
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

// The format's name where the picture may go to a decoder for page 1
// without --fit, or the reason it may not; at most length bytes of it.
std::string Verdict(const Bytes& picture, std::size_t length = SIZE_MAX) {
    MemorySource source(picture.data(), std::min(length, picture.size()));
    PictureFacts facts;
    std::string reason;
    return CheckPictureBytes(source, 1, false, facts, reason) ? FormatName(facts.format) : reason;
}

// The bytes with others in their place from at on, longer if need be.
Bytes Patched(Bytes bytes, std::size_t at, std::initializer_list<std::uint8_t> with) {
    bytes.resize(std::max(bytes.size(), at + with.size()));
    std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
}

TEST(PictureCheck, DamagedOrCutShortStructuresAreRefusedInWords) {
    const Bytes png = GreyPngClaiming(30, 20), bmp = BmpFileBytes(PatternFrame(3, 2));
    const Bytes icon = IconOf(bmp, 14), tiff = TiffClaiming({{30, 20}}, false);
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}; // and a screen
    const std::string cut = "damaged picture: the file ends inside its ";
    const std::string noJpegFrame = "damaged picture: no JPEG frame header before its pixels";
    const std::string noGifImage = "damaged picture: no GIF image before the file ends";
    const struct {
        Bytes picture;
        std::size_t length;
        std::string expected;
    } cases[] = {
        {png, 0, "empty file"},
        {png, 20, cut + "PNG header"},
        {Patched(png, 12, {'I', 'D', 'A', 'T'}), SIZE_MAX,
         "damaged picture: it does not start with a PNG header chunk (IHDR)"},
        {bmp, 20, cut + "BMP header"},
        // The oldest BMP header: 16-bit sides, 1400 wide and 3 high.
        {Patched(bmp, 14, {12, 0, 0, 0, 0x78, 5, 3, 0}), SIZE_MAX,
         "image is 1400x3, larger than 1280x1024; --fit scales it down"},
        {Patched(bmp, 14, {14}), SIZE_MAX, "damaged picture: a BMP header of 14 bytes"},
        {BmpClaiming(-3, 2), SIZE_MAX, "damaged picture: the BMP header gives a width of -3"},
        {BmpClaiming(3, INT_MIN), SIZE_MAX,
         "damaged picture: the BMP header gives a height of -2147483648"},
        {Patched(icon, 18, {0xFF, 0xFF}), SIZE_MAX, cut + "BMP header"}, // a page past the end
        {icon, 12, "ICO"}, // a directory cut short is the decoder's to refuse
        // Fill bytes, a restart and a TEM marker before the frame header.
        {{0xFF, 0xD8, 0xFF, 0xFF, 0xD0, 0xFF, 0x01, 0xFF, 0xC0, 0, 11, 8, 0, 200, 5, 20},
         SIZE_MAX,
         "image is 1300x200, larger than 1280x1024; --fit scales it down"},
        {JpegClaiming(300, 200), 100, noJpegFrame},
        {{0xFF, 0xD8, 0xFF, 0xC0, 0, 7, 8, 0, 1, 0, 1}, SIZE_MAX, noJpegFrame},
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 1, 0xFF, 0xC0}, SIZE_MAX, noJpegFrame}, // a length below 2
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 2, 0, 0xFF}, SIZE_MAX, noJpegFrame},    // no marker next
        {gif, 10, cut + "GIF header"},
        {gif, SIZE_MAX, noGifImage},
        {Patched(gif, 13, {0x3B}), SIZE_MAX, "GIF"},      // no page: the decoder's count refuses it
        {Patched(gif, 13, {0x99}), SIZE_MAX, noGifImage}, // no block starts so
        {Patched(gif, 13, {0x21, 0xFE, 5, 'c'}), SIZE_MAX, noGifImage}, // a comment cut short
        {tiff, 6, cut + "TIFF header"},
        {Patched(tiff, 4, {0xFF, 0xFF}), SIZE_MAX, "damaged picture: no whole TIFF directory"},
        // The first directory (10 to 124) names one that starts inside it.
        {Patched(TiffClaiming({{3, 2}, {4, 5}}, false), 120, {12}), SIZE_MAX,
         "damaged picture: two TIFF directories overlap"},
        {GifClaiming({{3, 2}, {0, 5}}), SIZE_MAX, "GIF"}, // an empty page not used: the decoder's
        // A width given as a fraction is no width a decoder takes.
        {Patched(tiff, 14, {5}), SIZE_MAX, "image is 0x20: it has no pixels"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, Verdict(c.picture, c.length)) << "row " << &c - cases;
    }
}

TEST(PictureCheck, NoCutOfAPictureIsReadAsAnotherSize) {
    const Bytes pictures[] = {GreyPngClaiming(30, 20),
                              JpegClaiming(300, 200),
                              GifClaiming({{3, 2}, {5, 4}}),
                              TiffClaiming({{30, 20}, {40, 10, 16, 32}}, true),
                              IconOf(BmpFileBytes(PatternFrame(3, 4)), 14),
                              BmpFileBytes(PatternFrame(3, 2))};
    for (const Bytes& picture : pictures) {
        const std::string whole = Verdict(picture);
        // From the longest signature on: shorter starts name no format.
        for (std::size_t length = 8; length < picture.size(); ++length) {
            const std::string verdict = Verdict(picture, length);
            ASSERT_TRUE(verdict == whole || verdict.rfind("damaged picture: ", 0) == 0)
                << whole << " cut to " << length << " bytes: " << verdict;
        }
    }
}

TEST(GifPage, IsTheScreenThenThePagesOwnBlocksAsFarAsTheFileGoes) {
    // 19 bytes of header, screen, table; page 1 to 34; a comment (the next page's), page 2 to 55.
    const Bytes gif = GifClaiming({{3, 2}, {5, 4}});
    const auto cut = [&](std::size_t start, std::size_t end, bool trailer) {
        Bytes bytes(gif.begin(), gif.begin() + end);
        bytes.erase(bytes.begin() + 19, bytes.begin() + start);
        bytes.resize(bytes.size() + (trailer ? 1 : 0), 0x3B);
        return bytes;
    };
    const std::tuple<std::size_t, unsigned long, Bytes> cases[] = {
        {56, 1, cut(19, 34, true)},
        {56, 2, cut(34, 55, true)},
        {53, 2, cut(34, 53, false)}}; // cut in its pixels: for the decoder to judge
    for (const auto& [length, page, expected] : cases) {
        MemorySource source(gif.data(), length), shorter(gif.data(), 54);
        PictureFacts facts;
        std::string reason;
        ASSERT_TRUE(CheckPictureBytes(source, page, false, facts, reason)) << reason;
        Bytes bytes;
        EXPECT_TRUE(GifPageBytes(source, facts.pages[page - 1], bytes));
        EXPECT_EQ(expected, bytes) << FirstDifference(bytes, expected);
        EXPECT_EQ(length == 53, GifPageBytes(shorter, facts.pages[1], bytes)); // not as walked
    }
}

TEST(ImagingFailure, KnownCodesReadAsWordsOthersAsTheSystemSaysOrInHex) {
    EXPECT_EQ("not a picture format this system can read", ImagingFailure(0x88982F50, "read", ""));
    EXPECT_EQ("read: Call failed", ImagingFailure(0x80004005, "read", "Call failed"));
    EXPECT_EQ("read: error 0x88982F99", ImagingFailure(0x88982F99, "read", "system error 9"));
    // Whatever the file's signature names, what says "unsupported" stays so.
    EXPECT_EQ("unsupported pixel format", ImagingFailure(0x88982F80, "read", "", "BMP"));
    EXPECT_EQ(
        "not enough memory to read page 2 (16000x15000)",
        ImagingFailure(0x80070008, "read", "Not enough memory", "GIF", "page 2 (16000x15000)"));
}

// How the pattern lies in the raw frame file is checked where oxcapture
// writes it (oxcapture_exe_test); here each rule, at its edges and sizes.
TEST(TestPattern, KnownPixelsMatchTheHandWorkedTable) {
    const int sizes[][2] = {{640, 480}, {800, 600}, {96, 64}, {1, 1}};
    for (const auto& [width, height] : sizes) {
        Frame pattern{width, height, {}};
        for (int i = 0; i < width * height; ++i) {
            const PatternColour c = TestPatternPixel(i % width, i / width, width, height);
            pattern.topFirst.insert(pattern.topFirst.end(), {c.blue, c.green, c.red});
        }
        EXPECT_EQ("", WrongPatternPixels(width, height, pattern));
    }
}

} // namespace
