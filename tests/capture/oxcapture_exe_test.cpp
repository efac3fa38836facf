// Runs the real oxcapture.exe, as a script would, and checks what it leaves in Windows' Temp.

#include "support/capture_run.h"
#include "support/child_process.h"
#include "support/files.h"
#include "support/test_pattern_pixels.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

class OxcaptureExe : public ::testing::Test {
  protected:
    RawFrameFileGuard rawFrame_;
};

Bytes Head(const Bytes& bytes, std::size_t length) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

const Bytes kHugePng = GreyPngClaiming(65536, 65537);
const std::string kOver = ", more than 268435456 pixels";
const std::string kTryHelp = "Try 'oxcapture --help'.\n"; // after a usage error

// A refusal (exit code 1) is one line on standard error, the words after the
// file's name; otherwise the words start the output (all of it if they end a line).
const struct BadInput {
    const char* name;      // the picture file, or none
    Bytes bytes;           // none: the file is missing
    const char* arguments; // before the file's name
    long exitCode;
    std::string words;
    // A picture read: the frame's size, its corners' colour (red | green << 8 | blue << 16).
    int frameWidth = 0, frameHeight = 0;
    std::uint32_t colour = 0;
} kBadInputs[] = {
    {"missing.bmp", {}, "", 1, "no such file"},
    {"text.bmp", {'h', 'i'}, "", 1, "not a picture format oxcapture reads (PNG, BMP, JPEG"},
    {"wide.bmp", BmpFileBytes(PatternFrame(1281, 2)), "", 1,
     "image is 1281x2, larger than 1280x1024; --fit scales it down"},
    {"zero-width.bmp", BmpClaiming(0, 2), "", 1, "image is 0x2: it has no pixels"},
    {"short.bmp", Head(BmpClaiming(3, 2), BmpClaiming(3, 2).size() - 4), "", 1,
     "damaged or cut short BMP picture (cannot decode its pixels: "},
    // Hostile headers are refused before any decoder sees them.
    {"huge.png", kHugePng, "", 1, "image is 65536x65537" + kOver},
    {"huge.png", kHugePng, "--fit", 1, "image is 65536x65537" + kOver},
    {"large.png", GreyPngClaiming(36000, 35000), "", 1, "image is 36000x35000" + kOver},
    {"large.png", GreyPngClaiming(36000, 35000), "--fit", 1, "image is 36000x35000" + kOver},
    {"png.ico", IconOf(kHugePng), "--fit", 1, "image is 65536x65537" + kOver},
    {"bmp.ico", IconOf(BmpClaiming(65536, 2 * 65537), 14), "--fit", 1,
     "image is 65536x65537" + kOver},
    {"wide.bmp", BmpClaiming(0x7FFFFFFF, 2), "--fit", 1, "image is 2147483647x2" + kOver},
    {"huge.jpg", JpegClaiming(65000, 60000), "--fit", 1, "image is 65000x60000" + kOver},
    {"large.jpg", JpegClaiming(6000, 5000), "", 1, "image is 6000x5000, larger than 1280x1024"},
    {"hidden.gif", GifClaiming({{2, 1}, {16000, 17000}}), "", 1, "page 2 is 16000x17000" + kOver},
    {"wide.gif", GifClaiming({{2, 1}, {2000, 1000}}), "--page 2", 1,
     "page 2 is 2000x1000, larger than 1280x1024"},
    {"hidden.tif", TiffClaiming({{2, 1}, {30000, 20000}}, false), "", 1,
     "page 2 is 30000x20000" + kOver},
    {"tiles.tif", TiffClaiming({{3, 2, 70000, 5000}}, true), "", 1,
     "image has tiles of 70000x5000" + kOver},
    {"loop.tif", TiffClaiming({{2, 1}, {1, 3}, {50000, 40000}}, true, true), "--page 2", 1,
     "page 3 is 50000x40000" + kOver},
    {"wraps.bmp", BmpClaiming(65536, 65537), "--fit", 1, "image is 65536x65537" + kOver},
    {"cut.png", Head(GreyPngClaiming(4, 2), 45), "", 1, "damaged or cut short PNG"},
    {"one.bmp", BmpClaiming(3, 2), "--page 2147483648", 1, "there is no page 2147483648"},
    {"", {}, "--region 0,0,10000000x1", 1, "oxcapture: region 0,0,10000000x1: "},
    // Of a GIF only the page asked for is decoded, whatever the pages beside it hold.
    {"two.gif", GifFilled({{2, 1}, {16000, 15000}}), "", 0, "", 2, 1, 0xFE8001},
    {"nine.gif", GifFilled({{2, 1}, {16000, 15000}}, 8), "", 0, "", 2, 1, 0xFE8001},
    {"film.gif", GifFilled({{1920, 1080}}, 160), "--fit", 0, "", 1280, 720, 0xFE8001},
    {"film.gif", GifFilled({{1920, 1080}}, 400), "--fit --page 400", 0, "", 1280, 720, 0x6F8090},
    {"", {}, "/?", 0, "Usage: oxcapture"},
    {"", {}, "--version", 0, "oxcapture " OXVIEW_VERSION "\n"},
    {"", {}, "--frobnicate", 2, "oxcapture: unrecognized option '--frobnicate'\n" + kTryHelp},
    {"", {}, "\"\"", 2, "oxcapture: the picture file name is empty"},
};

// Every row leaves nothing behind but a picture's frame, and costs what the same kind of work
// does, a picture a refused one's, a screen row a tiny region's: a refusal nothing more (a
// 6000x5000 JPEG decoded by mistake takes 31 MB more), a picture read one page's decoding.
TEST_F(OxcaptureExe, EachInputGetsItsWordsExitCodeAndFrameWithinItsMemory) {
    const std::string png = ScratchPath("huge.png");
    ASSERT_TRUE(WriteFileBytes(png, kHugePng));
    const SIZE_T pngPeak = RunCapture("--write-only \"" + png + "\"").peakMemory;
    const SIZE_T regionPeak = RunCapture("--write-only --region 0,0,2x1").peakMemory;
    ASSERT_TRUE(pngPeak > 0 && regionPeak > 0) << "a child's peak working set cannot be read";
    DeleteFileA(RawFramePath().c_str()); // the region's frame, if the screen could be read
    for (const BadInput& c : kBadInputs) {
        SCOPED_TRACE(std::string(c.arguments) + " " + c.name);
        const bool file = *c.name != '\0';
        const std::string path = ScratchPath(c.name);
        ASSERT_TRUE(c.bytes.empty() || WriteFileBytes(path, c.bytes)) << path;
        const std::vector<std::string> before = FileNames(WindowsTempFolder());
        // Every refusal comes from the header or a tiny file, long before this deadline.
        const CaptureRun run = RunCapture(std::string("--write-only ") + c.arguments +
                                              (file ? " \"" + path + "\"" : ""),
                                          CapturePath(), 10000);
        const std::string words =
            (file && c.exitCode == 1 ? "oxcapture: " + path + ": " : "") + c.words;
        const std::string& output = c.exitCode == 0 ? run.out : run.err;
        if (c.exitCode == 1) {
            EXPECT_TRUE(Refused(run, words));
        } else {
            EXPECT_EQ(c.exitCode, run.exitCode);
            EXPECT_EQ(words, words.back() == '\n' ? output : output.substr(0, words.size()));
            EXPECT_EQ("", c.exitCode == 0 ? run.err : run.out);
        }
        const bool region = std::string(c.arguments).rfind("--region", 0) == 0;
        EXPECT_LE(run.peakMemory,
                  (region ? regionPeak : pngPeak) + ((c.frameWidth ? 64u : 8u) << 20))
            << "peak working set, against " << (region ? "a tiny region's" : "a refused PNG's");
        if (c.frameWidth > 0) {
            const Frame frame = ReadRawFrame();
            ASSERT_EQ(std::make_pair(c.frameWidth, c.frameHeight),
                      std::make_pair(frame.width, frame.height));
            EXPECT_EQ(
                std::make_pair(c.colour, c.colour),
                std::make_pair(frame.At(0, 0), frame.At(c.frameWidth - 1, c.frameHeight - 1)));
            DeleteFileA(RawFramePath().c_str());
        }
        EXPECT_FALSE(FileExists(RawFramePath())) << "a raw frame file was written";
        EXPECT_EQ(before, FileNames(WindowsTempFolder())) << "the Windows Temp folder changed";
        DeleteFileA(path.c_str()); // the test's own input, if any
    }
}

TEST_F(OxcaptureExe, FailedReplaceKeepsTheOldFrameAndRemovesTheTemporaryFile) {
    const Bytes before = {'k', 'e', 'e', 'p'};
    ASSERT_TRUE(WriteFileBytes(RawFramePath(), before));
    const std::vector<std::string> names = FileNames(WindowsTempFolder());
    // Held open without sharing, as the viewer holds it while reading.
    HANDLE held = CreateFileA(RawFramePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const CaptureRun run = RunCapture("--write-only --size 8x8");
    CloseHandle(held); // opened for reading only: nothing to lose
    EXPECT_TRUE(Refused(run, "oxcapture: " + RawFramePath() + ": cannot write: "));
    EXPECT_EQ(names, FileNames(WindowsTempFolder()));
    const Bytes kept = ReadFileBytes(RawFramePath());
    EXPECT_EQ(before, kept) << FirstDifference(kept, before);
}

// The file's layout, header and all, is checked whole with a BMP below.
TEST_F(OxcaptureExe, WriteOnlyWritesThePatternAtTheSizeAsked) {
    for (const auto& [arguments, width, height] :
         {std::make_tuple("--size 96x64", 96, 64), std::make_tuple("", 640, 480)}) {
        DeleteFileA(RawFramePath().c_str()); // so that a run that wrote nothing cannot pass
        const CaptureRun run = RunCapture(std::string("--write-only ") + arguments);
        EXPECT_EQ(0, run.exitCode) << run.err;
        EXPECT_EQ("", run.err + run.out);
        const Frame frame = ReadRawFrame();
        EXPECT_EQ(std::make_pair(width, height), std::make_pair(frame.width, frame.height));
        EXPECT_EQ("", WrongPatternPixels(width, height, frame));
    }
}

TEST_F(OxcaptureExe, WriteOnlyTurnsABmpIntoTheExpectedRawFrame) {
    // Padded rows (3 and 1 bytes), both row orders, 32-bit pixels (their fourth byte, 0xEE,
    // dropped), a V5 header with colour masks, and a gap before the pixels.
    const std::string path = ScratchPath("good.bmp");
    const struct {
        Frame frame;
        BmpLayout layout; // top down, bits per pixel, compression, header size, gap
    } cases[] = {{PatternFrame(3, 2), {}},
                 {PatternFrame(5, 3), {true, 24, 0, 40, 10}},
                 {PatternFrame(3, 2), {false, 32}},
                 {PatternFrame(3, 2), {true, 32, 3, 124}}};
    for (auto c : cases) {
        SCOPED_TRACE(std::to_string(c.frame.width) + "x" + std::to_string(c.frame.height) + ", " +
                     std::to_string(c.layout.bitsPerPixel) + " bits, header " +
                     std::to_string(c.layout.headerSize));
        c.layout.fill = 0xEE; // a decoder that copies padding or the fourth byte shows
        ASSERT_TRUE(WriteFileBytes(path, BmpFileBytes(c.frame, c.layout)));
        DeleteFileA(RawFramePath().c_str()); // so that the last case's frame cannot pass
        const CaptureRun run = RunCapture("--write-only \"" + path + "\"");
        EXPECT_EQ(0, run.exitCode) << run.err;
        const Bytes file = ReadFileBytes(RawFramePath());
        const Bytes expected = RawFrameBytes(c.frame);
        EXPECT_EQ(expected, file) << FirstDifference(file, expected);
    }
    DeleteFileA(path.c_str()); // the test's own input
}

TEST_F(OxcaptureExe, StartsOxviewFromItsOwnFolderAndPassesOnItsExitCode) {
    // A copy of oxcapture stands in for the viewer: the viewer's tail is an unknown option to
    // it, so it exits with 2. A missing viewer is the package road's (package_road_test).
    const std::string folder = ScratchPath("launch");
    const std::string capture = folder + "\\oxcapture.exe";
    const std::string viewer = folder + "\\oxview.exe";
    CreateDirectoryA(folder.c_str(), nullptr); // there already after an earlier run
    ASSERT_TRUE(CopyFileA(CapturePath().c_str(), capture.c_str(), FALSE)) << GetLastError();
    ASSERT_TRUE(CopyFileA(CapturePath().c_str(), viewer.c_str(), FALSE)) << GetLastError();
    EXPECT_EQ(2, RunCapture("--size 8x8", capture).exitCode);
    EXPECT_EQ(24u + 8u * 8u * 3u, ReadFileBytes(RawFramePath()).size());
    EXPECT_EQ(0, RunCapture("--size 8x8 --no-wait", capture).exitCode);
    // Leftovers in the user's Temp folder do no harm; the stand-in may still run.
    DeleteFileA(capture.c_str());
}

// Not redirected, its words reach the console as wide text: a name outside the code page whole.
TEST(OxcaptureConsole, WritesToARealConsoleInWideText) {
    FreeConsole(); // the test's own output stays where CTest reads it
    ASSERT_TRUE(AllocConsole()) << GetLastError();
    ChildProcess capture;
    ASSERT_TRUE(capture.Start(CommandLine(CapturePath(), "--\u0141\u00f3d\u017a"), CapturePath()));
    EXPECT_EQ(2, capture.WaitForExit());
    wchar_t line[80];
    DWORD read = 0;
    ASSERT_TRUE(
        ReadConsoleOutputCharacterW(GetStdHandle(STD_OUTPUT_HANDLE), line, 80, {0, 0}, &read));
    const std::wstring text(line, read);
    EXPECT_EQ(L"oxcapture: unrecognized option '--\u0141\u00f3d\u017a'",
              text.substr(0, text.find_last_not_of(L' ') + 1));
    FreeConsole();
}

} // namespace
