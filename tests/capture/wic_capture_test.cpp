// Picture files of every kind through the real oxcapture.exe: each is made
// here by ImageMagick, and the raw frame file must hold its pixels.

#include "support/capture_run.h"
#include "support/child_process.h"
#include "support/files.h"

#include <gtest/gtest.h>

namespace {

// Values a 5-bit channel holds exactly (v << 3 | v >> 2 for v = 0, 4, ...
// 28, 31), so a 16-bit BMP keeps them however its writer rounds.
constexpr std::uint8_t kLevels[] = {0, 33, 66, 99, 132, 165, 198, 231, 255};
constexpr int kLevelCount = sizeof(kLevels);

// Neighbours differ in every channel, in fewer than 256 colours (so that a
// palette holds them all) and in more than 16 (so that it takes 8 bits).
Frame Sample(int width, int height, int seed) {
    Frame picture{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.topFirst.insert(picture.topFirst.end(),
                                    {kLevels[(x + y * 2 + 6 + seed) % kLevelCount],
                                     kLevels[(x * 4 + y + 3 + seed) % kLevelCount],
                                     kLevels[(x * 2 + y * 4 + seed) % kLevelCount]});
        }
    }
    return picture;
}

class PictureFiles : public ::testing::Test {
  protected:
    // Whether oxcapture makes the expected frame of the file, each channel within tolerance.
    static ::testing::AssertionResult Captures(const std::string& options, const std::string& path,
                                               const Frame& expected, int tolerance = 0) {
        const CaptureRun run = RunCapture("--write-only " + options + " \"" + path + "\"");
        const std::string difference = Difference(ReadRawFrame(), expected, tolerance);
        if (run.exitCode == 0 && difference.empty()) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << path << ": exit code " << run.exitCode << ", " << run.err << difference;
    }

    RawFrameFileGuard rawFrame_;
};

TEST_F(PictureFiles, EachKindGivesItsPixels) {
    const Frame picture = Sample(13, 7, 0); // 39-byte rows: BMP rows padded
    const struct {
        const char* name;
        const char* format;  // ImageMagick's format, where the name does not say it
        const char* options; // for ImageMagick
        int bmpBits;         // 0: not a BMP
        int tolerance;       // per channel
    } kinds[] = {
        {"picture.png", "", "", 0, 0},
        {"transparent.png", "", "-alpha set -channel A -evaluate set 40% +channel", 0, 0},
        {"picture.jpg", "", "-quality 100 -sampling-factor 1x1", 0, 6},
        {"picture.gif", "", "", 0, 0},
        {"picture.tif", "", "", 0, 0},
        {"paletted.bmp", "BMP3", "-type palette", 8, 0},
        {"rle.bmp", "BMP3", "-type palette -compress RLE", 8, 0},
        {"sixteen.bmp", "BMP", "-type truecolor -define bmp:subtype=RGB555", 16, 0},
        {"truecolor.bmp", "BMP3", "-type truecolor", 24, 0},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const std::string path = ScratchPath(kind.name);
        ASSERT_TRUE(MakeImage({picture}, kind.options, path, kind.format));
        if (kind.bmpBits != 0) { // byte 28 of a BMP file: its bits per pixel
            ASSERT_EQ(kind.bmpBits, ReadFileBytes(path).at(28))
                << "ImageMagick wrote another depth";
        }
        EXPECT_TRUE(Captures("", path, picture, kind.tolerance));
        DeleteFileA(path.c_str()); // the test's own input
    }
}

TEST_F(PictureFiles, NamesOutsideTheAnsiCodePageAreOpenedAndReadRightWhenRedirected) {
    const Frame picture = Sample(6, 4, 2);
    const std::string made = ScratchPath("ascii.png");
    const std::string path = ScratchPath(u8"фото 日本.png"); // UTF-8, as oxcapture writes
    ASSERT_TRUE(MakeImage({picture}, "", made));
    ASSERT_TRUE(MoveFileExW(Wide(made).c_str(), Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING))
        << GetLastError();
    EXPECT_TRUE(Captures("", path, picture));
    EXPECT_TRUE(Refused(RunCapture("--write-only --page 2 \"" + path + "\""),
                        "oxcapture: " + path + ": there is no page 2: the file holds 1 page\n"));
    DeleteFileW(Wide(path).c_str()); // the test's own input
}

TEST_F(PictureFiles, APictureOfSeveralPagesGivesThePageAsked) {
    const Frame first = Sample(9, 5, 0);
    const Frame second = Sample(9, 5, 4);
    for (const char* name : {"pages.tif", "pages.gif"}) {
        SCOPED_TRACE(name);
        const std::string path = ScratchPath(name);
        ASSERT_TRUE(MakeImage({first, second}, "", path));
        EXPECT_TRUE(Captures("", path, first));
        EXPECT_TRUE(Captures("--page 2", path, second));
        EXPECT_TRUE(
            Refused(RunCapture("--write-only --page 3 \"" + path + "\""),
                    "oxcapture: " + path + ": there is no page 3: the file holds 2 pages\n"));
        DeleteFileA(path.c_str()); // the test's own input
    }
}

// Refused without --fit, from the header, as every other format is
// (oxcapture_exe_test); with it, scaled down keeping the aspect ratio.
TEST_F(PictureFiles, FitScalesALargerPictureDownToAFrame) {
    // Four plain quarters: whatever the scaler's filter, their middles stay.
    const std::string path = ScratchPath("large.png");
    ASSERT_TRUE(MakeImage({},
                          "-size 1000x500 ( xc:#FF0000 xc:#00FF00 +append ) "
                          "( xc:#0000FF xc:#285078 +append ) -append",
                          path));
    ASSERT_EQ(0, RunCapture("--write-only --fit \"" + path + "\"").exitCode);
    const Frame frame = ReadRawFrame();
    ASSERT_EQ(std::make_pair(1280, 640), std::make_pair(frame.width, frame.height));
    EXPECT_EQ("255,0,0", RgbAt(frame, 320, 160));
    EXPECT_EQ("0,255,0", RgbAt(frame, 960, 160));
    EXPECT_EQ("0,0,255", RgbAt(frame, 320, 480));
    EXPECT_EQ("40,80,120", RgbAt(frame, 960, 480));
    DeleteFileA(path.c_str()); // the test's own input
}

} // namespace
