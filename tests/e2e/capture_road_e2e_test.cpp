#include "viewer_test.h"

namespace {

using CaptureRoad = ViewerTest;

TEST_F(CaptureRoad, AnImageGoesFromTheCaptureProgramToTheScreenAndBackToAFile) {
    const std::string folder = BuildFolder() + "e2e-output\\";
    CreateDirectoryA(folder.c_str(), nullptr); // may exist from an earlier run
    const std::string source = folder + "road-source.bmp";
    const std::string saved = folder + "road-saved.bmp";
    DeleteFileA(saved.c_str());
    const Frame image = PatternFrame(123, 77); // odd width: padded rows
    ASSERT_TRUE(WriteFileBytes(source, BmpFileBytes(image, true)));

    ChildProcess capture;
    const std::string program = BuildFolder() + "oxcapture.exe";
    ASSERT_TRUE(capture.Start("\"" + program + "\" \"" + source + "\"", program));
    HWND window = nullptr;
    ASSERT_TRUE(PollWithoutPumping([&] {
        window = FindWindowA("OX581_DX9 Class", "OrbiluxCap_KT5810");
        return window != nullptr || !capture.Running();
    }));
    ASSERT_NE(nullptr, window) << "the capture program ended with " << capture.WaitForExit(0);
    ASSERT_TRUE(viewer_.Adopt(window));
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
    EXPECT_EQ(0, capture.WaitForExit()) << "the capture program passes on the viewer's exit code";
    EXPECT_FALSE(FileExists(RawFramePath()));
}

} // namespace
