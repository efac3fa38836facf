#include "viewer_test.h"

namespace {

using ViewerWindow = ViewerTest;

// Where a click hits the close box in the caption; -1, -1 where none is.
POINT FindCloseBox(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    for (int y = outer.top + 1; y < outer.top + 40; y += 3) {
        for (int x = outer.right - 2; x > outer.right - 80; x -= 3) {
            if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                return {x - 3, y + 3};
            }
        }
    }
    return {-1, -1};
}

// The class and caption are how every test here finds the window, and the
// outer size is the settings test's; what the menu bar holds is checked in
// the program file and in the window's unit test.
TEST_F(ViewerWindow, ShowsTheFramePixelForPixelBelowAMenuBar) {
    HWND window = nullptr;
    ASSERT_TRUE(StartOn(PatternFrame(320, 240), window)); // which waits for every pixel
    EXPECT_NE(nullptr, GetMenu(window)) << "the window has no menu bar";
    EXPECT_GE(CaptureClient(window).height, 200);

    RECT outer;
    GetWindowRect(window, &outer);
    const ScreenShot whole = CaptureScreen(outer);
    CreateDirectoryA((BuildFolder() + "screenshots").c_str(), nullptr);
    EXPECT_TRUE(SaveScreenShot(whole, BuildFolder() + "screenshots\\viewer.png"));
}

// Esc ends the viewer in every other test here. Whichever way it ends, the
// raw frame file is deleted then, and not before (the hostile frames' test
// checks it for files the viewer turns away).
TEST_F(ViewerWindow, FileExitAndTheCloseBoxEndTheViewerAndThenDeleteTheRawFrame) {
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "the close box" : "File > Exit");
        HWND window = nullptr;
        ASSERT_TRUE(StartOn(PatternFrame(200, 150), window));
        EXPECT_TRUE(FileExists(RawFramePath())) << "deleted before the end";
        if (closeBox) {
            const POINT close = FindCloseBox(window);
            ASSERT_GE(close.x, 0) << "no close box in the caption";
            ClickAt(close.x, close.y);
        } else {
            ASSERT_TRUE(OpenFileMenu(window));
            PressKey('X');
        }
        EXPECT_EQ(0, viewer_.WaitForExit());
        EXPECT_FALSE(FileExists(RawFramePath()));
    }
}

} // namespace
