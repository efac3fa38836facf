#include "viewer_test.h"

namespace {

using CaptureRoad = ViewerTest;

// A picture goes through oxcapture.exe to the viewer on screen, and File >
// Save writes it out again: the BMP must decode to it. Formats: tests/capture.
TEST_F(CaptureRoad, APictureGoesFromTheCaptureProgramToTheScreenAndBackToAFile) {
    const std::string source = ScratchPath("road-source.png");
    const std::string saved = ScratchPath("road-saved.bmp");
    const Frame image = PatternFrame(101, 64); // odd width: padded rows in the BMP
    ASSERT_TRUE(MakeImage({image}, "", source)) << "ImageMagick could not write " << source;
    DeleteFileA(saved.c_str());
    ChildProcess capture;
    ASSERT_TRUE(capture.Start(CommandLine(CapturePath(), "\"" + source + "\""), CapturePath()));
    HWND window = nullptr;
    ASSERT_TRUE(AdoptViewerStartedBy(capture, window));
    int wrong = -1;
    EXPECT_TRUE(PollWithoutPumping([&] {
        return (wrong = CountFrameMismatches(CaptureClient(window), image)) == 0;
    })) << wrong
        << " pixels on screen differ from the image";

    ASSERT_TRUE(SaveThroughDialog(window, saved));
    ASSERT_TRUE(PollWithoutPumping([&] { return FileExists(saved); }));
    EXPECT_EQ("equal", FirstDifference(DecodeWithImageMagick(saved), FrameAsRgb(image)))
        << "the saved file does not decode to the image";

    EXPECT_TRUE(EndWithEsc(viewer_, window));
    EXPECT_EQ(0, capture.WaitForExit()) << "the capture program passes on the viewer's exit code";
}

} // namespace
