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

// Esc ends the viewer in the other tests. Either way, the raw frame file goes then, not before.
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
