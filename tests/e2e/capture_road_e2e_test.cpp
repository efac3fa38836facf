#include "support/capture_run.h"
#include "viewer_test.h"

namespace {

class CaptureRoad : public ViewerTest {
  protected:
    // The picture file goes through oxcapture.exe to the viewer on screen,
    // then File > Save writes it out again: the saved BMP must decode to it.
    void Drive(const std::string& source, const Frame& image) {
        const std::string saved = BuildFolder() + "e2e-output\\road-saved.bmp";
        DeleteFileA(saved.c_str());
        ChildProcess capture;
        const std::string program = BuildFolder() + "oxcapture.exe";
        ASSERT_TRUE(capture.Start("\"" + program + "\" \"" + source + "\"", program));
        HWND window = AdoptViewerStartedBy(capture);
        ASSERT_NE(nullptr, window);
        EXPECT_TRUE(PollWithoutPumping([&] {
            return CountFrameMismatches(CaptureClient(window), image) == 0;
        })) << "the screen does not show the image";

        SaveThroughDialog(window, saved);
        ASSERT_TRUE(PollWithoutPumping([&] { return FileExists(saved); }));
        EXPECT_TRUE(FrameAsRgb(image) == DecodeWithImageMagick(saved))
            << "the saved file does not decode to the image";

        ASSERT_TRUE(Focus(window));
        PressKey(VK_ESCAPE);
        EXPECT_EQ(0, viewer_.WaitForExit());
        EXPECT_EQ(0, capture.WaitForExit())
            << "the capture program passes on the viewer's exit code";
        EXPECT_FALSE(FileExists(RawFramePath()));
    }

    static std::string OutputPath(const std::string& name) {
        const std::string folder = BuildFolder() + "e2e-output\\";
        CreateDirectoryA(folder.c_str(), nullptr); // may exist from an earlier run
        return folder + name;
    }
};

TEST_F(CaptureRoad, ABmpGoesFromTheCaptureProgramToTheScreenAndBackToAFile) {
    const std::string source = OutputPath("road-source.bmp");
    const Frame image = PatternFrame(123, 77); // odd width: padded rows
    BmpLayout topDown;
    topDown.topDown = true;
    ASSERT_TRUE(WriteFileBytes(source, BmpFileBytes(image, topDown)));
    Drive(source, image);
}

TEST_F(CaptureRoad, APngGoesFromTheCaptureProgramToTheScreenAndBackToAFile) {
    const std::string source = OutputPath("road-source.png");
    const Frame image = PatternFrame(101, 64);
    ASSERT_TRUE(MakeImage({image}, "", source)) << "ImageMagick could not write " << source;
    Drive(source, image);
}

} // namespace
