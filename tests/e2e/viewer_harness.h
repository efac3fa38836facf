#pragma once

#include "support/files.h"
#include "support/paths.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Drives the real viewer as a separate process, the way its user and the
// capture program would: files in the Windows Temp folder, key presses and
// clicks through the system's input queue, and the picture read off the screen.

// Polls done() every 20 ms until it holds or timeoutMs pass.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 15000);

// A picture in memory, top row first, blue-green-red bytes per pixel.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<BYTE> topFirst;
    COLORREF At(int x, int y) const;
};

// Every pixel differs from its neighbours in each channel, so a flip, a
// shift or swapped channels cannot go unseen.
Frame PatternFrame(int width, int height);

// The raw frame file for the frame: header, then rows bottom first.
std::vector<BYTE> RawFrameBytes(const Frame& frame);
// The frame a raw frame file holds, for a file whose header fits its bytes.
Frame FrameFromRawBytes(const std::vector<BYTE>& raw);
bool PlaceRawFrame(const Frame& frame);
// A 24-bit BMP file of the frame, laid out by hand: rows padded to four
// bytes, bottom row first unless topDown.
std::vector<BYTE> BmpFileBytes(const Frame& frame, bool topDown);

class ViewerProcess {
  public:
    ViewerProcess() = default;
    ~ViewerProcess(); // ends a viewer a failed test left running
    ViewerProcess(const ViewerProcess&) = delete;
    ViewerProcess& operator=(const ViewerProcess&) = delete;

    // Starts the viewer (or another program) with exactly this command line.
    bool Start(const std::string& commandLine, const std::string& program = ViewerPath());
    // Starts it as the capture program does: quoted path and a tail.
    bool StartWithTail(const std::string& tail = "frame");
    // Takes over a viewer that another program started, by one of its windows.
    bool Adopt(HWND window);
    // The exit code, or -1 when the viewer is still running at the deadline.
    long WaitForExit(DWORD timeoutMs = 15000);
    bool Running() const;
    DWORD Id() const { return info_.dwProcessId; }

    // A visible top-level window of this process, or null at the deadline.
    HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs = 15000);
    HWND FindWindowOf(const char* className, const char* title) const;
    HWND WaitForMainWindow() { return WaitForWindow("OX581_DX9 Class", "OrbiluxCap_KT5810"); }

  private:
    PROCESS_INFORMATION info_ = {};
};

// Texts of a window's child controls of one class, in z order.
std::vector<std::string> ChildTexts(HWND parent, const char* className);
std::string WindowText(HWND window);

// Input as the user makes it, through the system's input queue.
void ClickAt(int x, int y);
void PressKey(WORD virtualKey);
void PressKeyWith(WORD modifier, WORD virtualKey);
void TypeText(const std::string& text);
// Brings the window to the front with a click into its client area.
bool Focus(HWND window);

// The screen's pixels in a rectangle, row by row.
struct ScreenShot {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
ScreenShot CaptureScreen(const RECT& area);
// The client area of a window as it stands on the screen.
ScreenShot CaptureClient(HWND window);
RECT ScreenRectOfClient(HWND window);

// Decodes a BMP file with ImageMagick into top-first RGB bytes; empty when
// it cannot.
std::vector<BYTE> DecodeWithImageMagick(const std::string& bmp);
std::vector<BYTE> FrameAsRgb(const Frame& frame);

// Counts the pixels of a shot that differ from the frame where both exist.
int CountFrameMismatches(const ScreenShot& shot, const Frame& frame);
