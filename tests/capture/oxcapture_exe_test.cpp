// Runs the real oxcapture.exe, as a capture program or a script would, and
// checks what it leaves in the Windows Temp folder.

#include "capture/raw_frame_encode.h"
#include "capture/test_pattern.h"

#include "support/capture_run.h"
#include "support/files.h"
#include "support/frame_bytes.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// What the Windows Temp folder holds, where the raw frame file goes.
std::vector<std::string> WindowsTempNames() {
    return FileNames(WindowsTempFolder());
}

// Keeps whatever raw frame file was there before the tests and puts it back.
class RawFrameBackup : public ::testing::Environment {
  public:
    void SetUp() override {
        saved_ = MoveFileExA(RawFramePath().c_str(), Backup().c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    void TearDown() override {
        DeleteFileA(RawFramePath().c_str()); // the last test may have left none
        if (saved_ &&
            !MoveFileExA(Backup().c_str(), RawFramePath().c_str(), MOVEFILE_REPLACE_EXISTING)) {
            ADD_FAILURE() << "could not restore " << RawFramePath() << " from " << Backup();
        }
    }

  private:
    static std::string Backup() { return ScratchPath("backup.raw"); }
    bool saved_ = false;
};

::testing::Environment* const kBackup = ::testing::AddGlobalTestEnvironment(new RawFrameBackup);

class OxcaptureExe : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FileExists(CapturePath())) << CapturePath();
        DeleteFileA(RawFramePath().c_str()); // each test starts without one
        ASSERT_FALSE(FileExists(RawFramePath())) << RawFramePath();
    }
};

void ExpectRefused(const CaptureRun& run, const std::string& start) {
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ(0u, run.err.find(start))
        << "got \"" << run.err << "\", expected \"" << start << "...\"";
    EXPECT_EQ(run.err.size() - 1, run.err.find('\n')) << "not one line: \"" << run.err << "\"";
    EXPECT_EQ("", run.out);
}

TEST_F(OxcaptureExe, BadInputLeavesNoRawFrameAndNoTemporaryFile) {
    const Bytes good = BmpFileBytes(PatternFrame(3, 2));
    Bytes zeroWidth = good;
    zeroWidth[18] = 0;
    const struct {
        const char* name;
        Bytes bytes; // empty: no file
        const char* reason;
        const char* options;
    } cases[] = {
        {"missing.bmp", {}, "no such file", ""},
        {"text.bmp", {'h', 'i'}, "not a picture format this system can read", ""},
        {"wide.bmp", BmpFileBytes(PatternFrame(1281, 2)),
         "image is 1281x2, larger than 1280x1024; --fit scales it down", ""},
        {"zero-width.bmp", zeroWidth, "image is 0x2: it has no pixels", ""},
        {"short.bmp", Bytes(good.begin(), good.end() - 4),
         "damaged or cut short BMP picture (cannot decode its pixels: ", ""},
        {"one-page.bmp", good, "there is no page 2: the file holds 1 page", "--page 2"},
    };
    for (const auto& bad : cases) {
        const std::string path = ScratchPath(bad.name);
        DeleteFileA(path.c_str()); // made afresh below, or meant to be missing
        ASSERT_TRUE(bad.bytes.empty() || WriteFileBytes(path, bad.bytes)) << path;
        const std::vector<std::string> before = WindowsTempNames();
        ExpectRefused(RunCapture(std::string("--write-only ") + bad.options + " \"" + path + "\""),
                      "oxcapture: " + path + ": " + bad.reason);
        EXPECT_FALSE(FileExists(RawFramePath())) << bad.name;
        EXPECT_EQ(before, WindowsTempNames()) << bad.name << ": the Windows Temp folder changed";
        DeleteFileA(path.c_str()); // the test's own input
    }
}

TEST_F(OxcaptureExe, HostilePicturesAndCommandLinesGetTheirOwnWordsAndExitCodes) {
    const Bytes huge = GreyPngClaiming(65536, 65536);
    const Bytes cut = GreyPngClaiming(4, 2);
    const std::string over = ", more than 268435456 pixels";
    const std::string bmp = "damaged picture: the BMP header gives a ";
    const struct {
        const char* name; // the picture file, or none
        Bytes bytes;
        const char* arguments; // before the file's name
        DWORD exitCode;
        std::string words; // that the output holds
    } cases[] = {
        {"huge.png", huge, "", 1, "image is 65536x65536" + over},
        {"huge.png", huge, "--fit", 1, "image is 65536x65536" + over},
        {"large.png", GreyPngClaiming(36000, 36000), "", 1, "image is 36000x36000" + over},
        {"large.png", GreyPngClaiming(36000, 36000), "--fit", 1, "image is 36000x36000" + over},
        {"png.ico", IconOf(huge), "--fit", 1, "image is 65536x65536" + over},
        {"bmp.ico", IconOf(BmpClaiming(65536, 2 * 65536), 14), "--fit", 1,
         "image is 65536x65536" + over},
        {"wide.bmp", BmpClaiming(0x7FFFFFFF, 2), "--fit", 1, "image is 2147483647x2" + over},
        {"square.bmp", BmpClaiming(65536, 65536), "--fit", 1, "image is 65536x65536" + over},
        {"tall.bmp", BmpClaiming(3, -0x80000000ll), "--fit", 1, bmp + "height of -2147483648"},
        {"negative.bmp", BmpClaiming(-10, 2), "", 1, bmp + "width of -10"},
        {"cut.png", Bytes(cut.begin(), cut.begin() + 45), "", 1, "damaged or cut short PNG"},
        {"one.bmp", BmpClaiming(3, 2), "--page 2147483648", 1, "no page 2147483648"},
        {"", {}, "--region 0,0,10000000x1", 1, "oxcapture: region 0,0,10000000x1: "},
        {"", {}, "/?", 0, "Usage: oxcapture"},
        {"", {}, "\"\"", 2, "the picture file name is empty"},
    };
    for (const auto& c : cases) {
        const std::string path = ScratchPath(c.name);
        const bool file = *c.name != '\0';
        ASSERT_TRUE(!file || WriteFileBytes(path, c.bytes)) << path;
        // Every refusal comes from the header, long before this deadline.
        const CaptureRun run = RunCapture(std::string("--write-only ") + c.arguments +
                                              (file ? " \"" + path + "\"" : ""),
                                          CapturePath(), 10000);
        const std::string got = c.name + (" " + std::string(c.arguments)) + ": got \"" + run.out +
                                run.err + "\", expected \"" + c.words + "\" in it";
        EXPECT_EQ(c.exitCode, run.exitCode) << got;
        EXPECT_NE(std::string::npos, (run.out + run.err).find(c.words)) << got;
        EXPECT_FALSE(FileExists(RawFramePath())) << got;
        DeleteFileA(path.c_str()); // the test's own input, if any
    }
}

TEST_F(OxcaptureExe, FailedReplaceKeepsTheOldFrameAndRemovesTheTemporaryFile) {
    const Bytes before = {'k', 'e', 'e', 'p'};
    ASSERT_TRUE(WriteFileBytes(RawFramePath(), before));
    const std::vector<std::string> names = WindowsTempNames();
    // Held open without sharing, as the viewer holds it while reading.
    HANDLE held = CreateFileA(RawFramePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const CaptureRun run = RunCapture("--write-only --size 8x8");
    CloseHandle(held); // opened for reading only: nothing to lose
    ExpectRefused(run, "oxcapture: " + RawFramePath() + ": cannot write: ");
    EXPECT_EQ(names, WindowsTempNames());
    const Bytes kept = ReadFileBytes(RawFramePath());
    EXPECT_EQ(before, kept) << FirstDifference(kept, before);
}

TEST_F(OxcaptureExe, WriteOnlyWritesThePatternAtTheSizeAsked) {
    CaptureRun run = RunCapture("--write-only --size 96x64");
    EXPECT_EQ(0u, run.exitCode) << run.err;
    EXPECT_EQ("", run.err + run.out);
    Bytes file = ReadFileBytes(RawFramePath());
    ASSERT_EQ(24u + 96u * 64u * 3u, file.size());
    const Bytes header = {'O', 'X', 'R', 'A', 'W', 'F', 'R', 'M', 1,  0, 0, 0,
                          0,   0,   0,   0,   96,  0,   0,   0,   64, 0, 0, 0};
    EXPECT_EQ(header, Bytes(file.begin(), file.begin() + 24));
    Frame frame = ReadRawFrame();
    EXPECT_EQ("255,255,255", RgbAt(frame, 0, 0));
    EXPECT_EQ("255,0,0", RgbAt(frame, 5, 5));
    EXPECT_EQ("255,0,255", RgbAt(frame, 40, 1)); // bar 3 at this width
    EXPECT_EQ("128,128,128", RgbAt(frame, 95, 10));
    EXPECT_EQ("110,8,145", RgbAt(frame, 41, 33));
    const Bytes expected = EncodeRawFrame(MakeTestPattern(96, 64));
    EXPECT_EQ(expected, file) << FirstDifference(file, expected);

    ASSERT_EQ(0u, RunCapture("--write-only").exitCode);
    file = ReadFileBytes(RawFramePath());
    ASSERT_EQ(24u + 640u * 480u * 3u, file.size());
    EXPECT_EQ(Bytes({0x80, 0x02, 0, 0, 0xE0, 0x01, 0, 0}),
              Bytes(file.begin() + 16, file.begin() + 24));
    frame = ReadRawFrame();
    EXPECT_EQ("255,0,0", RgbAt(frame, 20, 20));
    EXPECT_EQ("255,255,255", RgbAt(frame, 620, 20));
    EXPECT_EQ("7,234,248", RgbAt(frame, 20, 460));
}

TEST_F(OxcaptureExe, WriteOnlyTurnsABmpIntoTheExpectedRawFrame) {
    // Padded rows (3 and 1 bytes), both row orders, the fourth byte of 32-bit
    // pixels (filled with 0xEE) dropped, a V5 header with colour masks, and a
    // gap before the pixels.
    BmpLayout topDown, bottomUp32, masks;
    topDown.topDown = true;
    topDown.gap = 10;
    bottomUp32.bitsPerPixel = masks.bitsPerPixel = 32;
    masks.topDown = true;
    masks.compression = 3;
    masks.headerSize = 124;
    const std::string path = ScratchPath("good.bmp");
    const struct {
        Frame frame;
        BmpLayout layout;
    } cases[] = {{PatternFrame(3, 2), BmpLayout()},
                 {PatternFrame(5, 3), topDown},
                 {PatternFrame(3, 2), bottomUp32},
                 {PatternFrame(3, 2), masks}};
    for (auto c : cases) {
        SCOPED_TRACE(std::to_string(c.frame.width) + "x" + std::to_string(c.frame.height) + ", " +
                     std::to_string(c.layout.bitsPerPixel) + " bits, header " +
                     std::to_string(c.layout.headerSize));
        c.layout.fill = 0xEE; // a decoder that copies padding or the fourth byte shows
        ASSERT_TRUE(WriteFileBytes(path, BmpFileBytes(c.frame, c.layout)));
        const CaptureRun run = RunCapture("--write-only \"" + path + "\"");
        EXPECT_EQ(0u, run.exitCode) << run.err;
        const Bytes file = ReadFileBytes(RawFramePath());
        const Bytes expected = RawFrameBytes(c.frame);
        EXPECT_EQ(expected, file) << FirstDifference(file, expected);
    }
    DeleteFileA(path.c_str()); // the test's own input
}

TEST_F(OxcaptureExe, CommandLineFollowsTheUsualConventions) {
    CaptureRun run = RunCapture("--help");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(0u, run.out.find("Usage: oxcapture")) << run.out;
    EXPECT_EQ("", run.err);
    run = RunCapture("--version");
    EXPECT_EQ("oxcapture " OXVIEW_VERSION "\n", run.out) << "the project's version";
    run = RunCapture("--frobnicate");
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_EQ("oxcapture: unrecognized option '--frobnicate'\nTry 'oxcapture --help'.\n", run.err);
    EXPECT_FALSE(FileExists(RawFramePath()));
}

TEST_F(OxcaptureExe, StartsOxviewFromItsOwnFolderAndPassesOnItsExitCode) {
    // A copy of oxcapture stands in for the viewer: the viewer's command tail
    // is an unknown option to it, so it exits with 2.
    const std::string folder = ScratchPath("launch");
    const std::string capture = folder + "\\oxcapture.exe";
    const std::string viewer = folder + "\\oxview.exe";
    CreateDirectoryA(folder.c_str(), nullptr); // there already after an earlier run
    ASSERT_TRUE(CopyFileA(CapturePath().c_str(), capture.c_str(), FALSE)) << GetLastError();
    ASSERT_TRUE(CopyFileA(CapturePath().c_str(), viewer.c_str(), FALSE)) << GetLastError();
    EXPECT_EQ(2u, RunCapture("--size 8x8", capture).exitCode);
    EXPECT_EQ(24u + 8u * 8u * 3u, ReadFileBytes(RawFramePath()).size());
    ASSERT_TRUE(DeleteFileA(viewer.c_str())) << GetLastError();
    ExpectRefused(RunCapture("--size 8x8", capture), "oxcapture: " + viewer + ": cannot start: ");
    ASSERT_TRUE(CopyFileA(CapturePath().c_str(), viewer.c_str(), FALSE)) << GetLastError();
    EXPECT_EQ(0u, RunCapture("--size 8x8 --no-wait", capture).exitCode);
    // Leftovers in the user's Temp folder do no harm; the stand-in may still run.
    DeleteFileA(capture.c_str());
}

} // namespace
