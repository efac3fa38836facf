#include "viewer_test.h"

namespace {

using CaptureRoad = ViewerTest;

// A picture file goes through oxcapture.exe to the viewer on screen, then
// File > Save writes it out again: the saved BMP must decode to it. Each kind
// of picture file is the capture program's own tests' to read.
TEST_F(CaptureRoad, ABmpGoesFromTheCaptureProgramToTheScreenAndBackToAFile) {
    const std::string folder = BuildFolder() + "e2e-output\\";
    CreateDirectoryA(folder.c_str(), nullptr); // may exist from an earlier run
    const std::string source = folder + "road-source.bmp";
    const std::string saved = folder + "road-saved.bmp";
    DeleteFileA(saved.c_str());
    const Frame image = PatternFrame(123, 77); // odd width: padded rows
    BmpLayout topDown;
    topDown.topDown = true;
    ASSERT_TRUE(WriteFileBytes(source, BmpFileBytes(image, topDown)));

    ChildProcess capture;
    ASSERT_TRUE(capture.Start("\"" + CapturePath() + "\" \"" + source + "\"", CapturePath()));
    HWND window = AdoptViewerStartedBy(capture);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(PollWithoutPumping([&] {
        return CountFrameMismatches(CaptureClient(window), image) == 0;
    })) << "the screen does not show the image";

    SaveThroughDialog(window, saved);
    ASSERT_TRUE(PollWithoutPumping([&] { return FileExists(saved); }));
    EXPECT_EQ("equal", FirstDifference(DecodeWithImageMagick(saved), FrameAsRgb(image)))
        << "the saved file does not decode to the image";

    EndWithEsc(viewer_, window);
    EXPECT_EQ(0, capture.WaitForExit()) << "the capture program passes on the viewer's exit code";
    EXPECT_FALSE(FileExists(RawFramePath()));
}

} // namespace
