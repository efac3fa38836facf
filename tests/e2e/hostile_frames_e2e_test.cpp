#include "viewer_test.h"

#include "frame/frame_header.h"
#include "support/raw_frame_file_bytes.h"

namespace {

using HostileFrames = ViewerTest;

// Runs the viewer on the file and watches it to the end: the exit code, and
// whether it ever showed a window of any kind.
struct Outcome {
    long exitCode = -1;
    bool showedWindow = false;
};
Outcome RunOn(const std::vector<BYTE>& file) {
    Outcome outcome;
    if (!WriteFileBytes(RawFramePath(), file)) {
        ADD_FAILURE() << "could not write the raw frame file";
        return outcome;
    }
    ViewerProcess viewer;
    if (!viewer.StartWithTail()) {
        ADD_FAILURE() << "the viewer did not start";
        return outcome;
    }
    WaitFor([&] {
        outcome.showedWindow =
            outcome.showedWindow || viewer.FindWindowOf(nullptr, nullptr) != nullptr;
        return !viewer.Running();
    });
    outcome.exitCode = viewer.WaitForExit();
    return outcome;
}

TEST_F(HostileFrames, AreTurnedAwaySilentlyAndDeleted) {
    const std::vector<BYTE> fourByFour = RawFrameBytes(PatternFrame(4, 4));
    struct Case {
        const char* what;
        std::vector<BYTE> file;
    } cases[] = {
        {"an empty file", {}},
        {"a few bytes", {'O', 'X', 'R', 'A', 'W'}},
        {"a header cut short", RawFrameFileBytes(4, 4, 0)},
        {"a header and no pixels", RawFrameFileBytes(4, 4, 0)},
        {"pixels one byte short", std::vector<BYTE>(fourByFour.begin(), fourByFour.end() - 1)},
        {"a negative width", RawFrameFileBytes(-4, 4, 48)},
        {"a negative height", RawFrameFileBytes(4, -4, 48)},
        {"height 0x80000000", RawFrameFileBytes(4, 0x80000000ll, 48)},
        // Each has the bytes that a 32-bit product of its sizes would ask for.
        {"width x 3 wraps 32 bits", RawFrameFileBytes(0x55555556, 1, 2 + 64)},
        {"width x height x 3 wraps 32 bits", RawFrameFileBytes(2, 715827883, 2 + 64)},
        {"width x height x 3 wraps to zero", RawFrameFileBytes(0x40000000, 4, 64)},
        {"more pixels than the frame buffer holds", RawFrameFileBytes(1400, 1300, 1400 * 1300 * 3)},
    };
    cases[2].file.resize(kFrameHeaderBytes - 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome outcome = RunOn(c.file);
        EXPECT_EQ(0, outcome.exitCode) << "a crash or a hang ends otherwise";
        EXPECT_FALSE(outcome.showedWindow);
        EXPECT_FALSE(FileExists(RawFramePath()));
    }
}

TEST_F(HostileFrames, AFileLongerThanTheReadLimitLoadsWhenItsFrameFits) {
    const Frame frame = PatternFrame(1280, 1024);
    std::vector<BYTE> file = RawFrameBytes(frame);
    file.resize(kMaxRawFrameBytes + 1024 * 1024, 0xA5); // a megabyte past the limit
    ASSERT_TRUE(WriteFileBytes(RawFramePath(), file));
    ASSERT_TRUE(viewer_.StartWithTail());
    HWND window = viewer_.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(WaitFor([&] { return CountFrameMismatches(CaptureClient(window), frame) == 0; }))
        << "the frame never showed on screen";
    ASSERT_TRUE(Focus(window));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(0, viewer_.WaitForExit());
    EXPECT_FALSE(FileExists(RawFramePath()));
}

TEST_F(HostileFrames, AnEmptyFrameOpensAPlainWindowThatEscapeCloses) {
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    for (const auto& size :
         {std::make_pair(0, 480), std::make_pair(640, 0), std::make_pair(0, 0)}) {
        SCOPED_TRACE(std::to_string(size.first) + " x " + std::to_string(size.second));
        ASSERT_TRUE(WriteFileBytes(RawFramePath(), RawFrameFileBytes(size.first, size.second, 0)));
        ViewerProcess viewer;
        ASSERT_TRUE(viewer.StartWithTail());
        HWND window = viewer.WaitForMainWindow();
        ASSERT_NE(nullptr, window);
        // With no height the window is its caption and menu alone.
        EXPECT_TRUE(WaitFor([&] {
            const ScreenShot shot = CaptureClient(window);
            return std::all_of(shot.pixels.begin(), shot.pixels.end(),
                               [&](COLORREF pixel) { return pixel == background; });
        })) << "the client area is not plain background";
        Activate(window);
        PressKey(VK_ESCAPE);
        EXPECT_EQ(0, viewer.WaitForExit());
        EXPECT_FALSE(FileExists(RawFramePath()));
    }
}

} // namespace
