// The screen through the real oxcapture.exe: a window of this test shows
// coloured blocks at a known place, and the raw frame file must hold them.

#include "support/capture_run.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kBlockWidth = 16;
constexpr int kBlockHeight = 12;
constexpr int kColumns = 4;
constexpr int kRows = 2;
constexpr COLORREF kBlocks[kRows][kColumns] = {
    {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)},
    {RGB(10, 200, 30), RGB(77, 7, 177), RGB(250, 128, 5), RGB(1, 2, 3)}};

LRESULT CALLBACK PaintBlocks(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        return 1; // WM_PAINT covers the whole client area
    }
    if (message != WM_PAINT) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const RECT block = {column * kBlockWidth, row * kBlockHeight,
                                (column + 1) * kBlockWidth, (row + 1) * kBlockHeight};
            HBRUSH brush = CreateSolidBrush(kBlocks[row][column]);
            FillRect(dc, &block, brush);
            DeleteObject(brush);
        }
    }
    EndPaint(window, &paint);
    return 0;
}

// The blocks as the raw frame should hold them, from (left, top) of a
// width x height frame; the rest of it is not checked.
bool BlocksAt(const RgbPicture& frame, int left, int top, std::string& difference) {
    for (int y = 0; y < kRows * kBlockHeight; ++y) {
        for (int x = 0; x < kColumns * kBlockWidth; ++x) {
            const COLORREF colour = kBlocks[y / kBlockHeight][x / kBlockWidth];
            const std::string expected = std::to_string(GetRValue(colour)) + "," +
                                         std::to_string(GetGValue(colour)) + "," +
                                         std::to_string(GetBValue(colour));
            if (left + x >= frame.width || top + y >= frame.height ||
                frame.At(left + x, top + y) != expected) {
                difference = "block pixel (" + std::to_string(x) + "," + std::to_string(y) +
                             ") expected " + expected + " in a " + std::to_string(frame.width) +
                             "x" + std::to_string(frame.height) + " frame";
                return false;
            }
        }
    }
    return true;
}

class ScreenCapture : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteFileA(RawFrameFilePath().c_str());
        title_ = "oxcapture screen test " + std::to_string(GetCurrentProcessId());
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PaintBlocks;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OxcaptureScreenTest";
        RegisterClassA(&windowClass); // registered already by an earlier test
        RECT outer = {0, 0, kColumns * kBlockWidth, kRows * kBlockHeight};
        AdjustWindowRectEx(&outer, WS_CAPTION, FALSE, WS_EX_TOPMOST);
        window_ = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, title_.c_str(),
                                  WS_CAPTION | WS_VISIBLE, 200, 150, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, windowClass.hInstance,
                                  nullptr);
        ASSERT_NE(nullptr, window_) << GetLastError();
        POINT origin = {0, 0};
        ClientToScreen(window_, &origin);
        client_ = origin;
        // Shown once the last block's corner is on the screen.
        ASSERT_TRUE(PollUntil([&] {
            HDC screen = GetDC(nullptr);
            const COLORREF last = GetPixel(screen, origin.x + kColumns * kBlockWidth - 1,
                                           origin.y + kRows * kBlockHeight - 1);
            const COLORREF first = GetPixel(screen, origin.x, origin.y);
            ReleaseDC(nullptr, screen);
            return first == kBlocks[0][0] && last == kBlocks[kRows - 1][kColumns - 1];
        })) << "the test window never showed its blocks";
    }
    void TearDown() override {
        DestroyWindow(window_);
        DrainMessages();
        DeleteFileA(RawFrameFilePath().c_str());
    }

    static void ExpectRefused(const std::string& options, const std::string& message) {
        const CaptureRun run = RunCapture("--write-only " + options);
        EXPECT_EQ(1u, run.exitCode) << options;
        EXPECT_EQ(message + "\n", run.err);
        EXPECT_EQ(0, ReadRawFrame().width) << options << ": a raw frame file was written";
    }

    std::string title_;
    HWND window_ = nullptr;
    POINT client_ = {0, 0};
};

TEST_F(ScreenCapture, ARegionAndAWindowGiveThePixelsOnScreen) {
    const std::string region = std::to_string(client_.x) + "," + std::to_string(client_.y) + "," +
                               std::to_string(kColumns * kBlockWidth) + "x" +
                               std::to_string(kRows * kBlockHeight);
    CaptureRun run = RunCapture("--write-only --delay 0.1 --region " + region);
    ASSERT_EQ(0u, run.exitCode) << run.err;
    RgbPicture frame = ReadRawFrame();
    std::string difference;
    EXPECT_EQ(kColumns * kBlockWidth, frame.width);
    EXPECT_EQ(kRows * kBlockHeight, frame.height);
    EXPECT_TRUE(BlocksAt(frame, 0, 0, difference)) << difference;

    RECT outer;
    ASSERT_TRUE(GetWindowRect(window_, &outer));
    run = RunCapture("--write-only --window \"" + title_ + "\"");
    ASSERT_EQ(0u, run.exitCode) << run.err;
    frame = ReadRawFrame();
    EXPECT_EQ(outer.right - outer.left, frame.width);
    EXPECT_EQ(outer.bottom - outer.top, frame.height);
    EXPECT_TRUE(BlocksAt(frame, client_.x - outer.left, client_.y - outer.top, difference))
        << difference;
}

TEST_F(ScreenCapture, TheWholeScreenFitsAFrameWithFit) {
    const double width = GetSystemMetrics(SM_CXSCREEN);
    const double height = GetSystemMetrics(SM_CYSCREEN);
    const double scale = std::fmin(1.0, std::fmin(1280.0 / width, 1024.0 / height));
    const CaptureRun run = RunCapture("--write-only --screen --fit");
    ASSERT_EQ(0u, run.exitCode) << run.err;
    const RgbPicture frame = ReadRawFrame();
    EXPECT_EQ(std::lround(width * scale), frame.width);
    EXPECT_EQ(std::lround(height * scale), frame.height);
}

TEST_F(ScreenCapture, WhatIsNotOnTheDesktopIsRefused) {
    const long right = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const std::string desktop = std::to_string(GetSystemMetrics(SM_XVIRTUALSCREEN)) + "," +
                                std::to_string(GetSystemMetrics(SM_YVIRTUALSCREEN)) + "," +
                                std::to_string(GetSystemMetrics(SM_CXVIRTUALSCREEN)) + "x" +
                                std::to_string(GetSystemMetrics(SM_CYVIRTUALSCREEN));
    const std::string offEdge = std::to_string(right - 10) + ",0,20x20";
    ExpectRefused("--region " + offEdge,
                  "oxcapture: region " + offEdge +
                      ": the region is not wholly on the desktop, which is " + desktop);
    ExpectRefused("--region 0,0,0x20", "oxcapture: region 0,0,0x20: the region is empty");
    ExpectRefused("--window \"" + title_ + " (gone)\"",
                  "oxcapture: window '" + title_ + " (gone)': no such window on the desktop");
}

} // namespace
