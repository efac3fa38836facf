#pragma once

// The picture as the user sees it: pixels read back from the screen.

#include "support/frame_bytes.h"

#include <windows.h>

#include <vector>

// The screen's pixels in a rectangle, row by row.
struct ScreenShot {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

ScreenShot CaptureScreen(const RECT& area);
RECT ScreenRectOfClient(HWND window);
// The client area of a window as it stands on the screen.
ScreenShot CaptureClient(HWND window);

// The shot as a frame, to read with the frames' own tools (RgbAt).
Frame FrameOf(const ScreenShot& shot);

// Counts the pixels of a shot of the viewer's client area that differ from the frame, and each
// one the viewer must show that the shot lacks, so an empty or cut shot never passes. The window
// is the frame plus 9 x 42 pixels, less borders, caption and menu bar (under Wine a few rows more).
int CountFrameMismatches(const ScreenShot& shot, const Frame& frame);
