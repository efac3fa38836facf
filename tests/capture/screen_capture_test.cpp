// The screen through the real oxcapture.exe: a window of this test shows
// coloured blocks at a known place, and the raw frame file must hold them.

#include "support/capture_run.h"
#include "support/files.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBlock = 16; // wide, and as tall as the window's client area
constexpr COLORREF kColours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(77, 7, 177), RGB(1, 2, 3)};
constexpr int kWidth = kBlock * 4;

LRESULT CALLBACK PaintBlocks(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    for (int i = 0; i < 4; ++i) {
        const RECT block = {i * kBlock, 0, (i + 1) * kBlock, kBlock};
        const GdiObject brush(CreateSolidBrush(kColours[i]));
        FillRect(dc, &block, static_cast<HBRUSH>(brush.get()));
    }
    EndPaint(window, &paint);
    return 0;
}

// Where the frame does not show the blocks from (left, top) on, or "".
std::string MissingBlocks(const Frame& frame, int left, int top) {
    for (int y = 0; y < kBlock; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const COLORREF expected = kColours[x / kBlock];
            if (left + x >= frame.width || top + y >= frame.height ||
                frame.At(left + x, top + y) != expected) {
                return "no colour " + std::to_string(expected) + " at (" +
                       std::to_string(left + x) + "," + std::to_string(top + y) + ")";
            }
        }
    }
    return "";
}

class ScreenCapture : public ::testing::Test {
  protected:
    void SetUp() override {
        SetProcessDPIAware(); // sees and paints in real pixels at any scale, as oxcapture must
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PaintBlocks;
        windowClass.lpszClassName = "OxcaptureScreenTest";
        RegisterClassA(&windowClass); // registered already by an earlier test
        RECT outer = {0, 0, kWidth, kBlock};
        AdjustWindowRect(&outer, WS_CAPTION, FALSE);
        window_ = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, title_.c_str(),
                                  WS_CAPTION | WS_VISIBLE, 200, 150, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, window_) << GetLastError();
        ClientToScreen(window_, &client_);
        ASSERT_TRUE(PollPumpingMessages([&] {
            const COLORREF last =
                WindowPixel(nullptr, client_.x + kWidth - 1, client_.y + kBlock - 1);
            return last == kColours[3]; // on the screen
        })) << "the test window never showed its blocks";
    }
    void TearDown() override {
        DestroyWindow(window_);
        PumpMessages();
    }

    RawFrameFileGuard rawFrame_;
    const std::string title_ = "oxcapture test " + std::to_string(GetCurrentProcessId());
    HWND window_ = nullptr;
    POINT client_ = {0, 0};
};

TEST_F(ScreenCapture, ARegionAndAWindowGiveThePixelsOnScreen) {
    CaptureRun run = RunCapture("--write-only --delay 0.1 --region " + std::to_string(client_.x) +
                                "," + std::to_string(client_.y) + ",64x16");
    ASSERT_EQ(0, run.exitCode) << run.err;
    Frame frame = ReadRawFrame();
    EXPECT_EQ(std::make_pair(kWidth, kBlock), std::make_pair(frame.width, frame.height));
    EXPECT_EQ("", MissingBlocks(frame, 0, 0));

    RECT outer;
    ASSERT_TRUE(GetWindowRect(window_, &outer));
    run = RunCapture("--write-only --window \"" + title_ + "\"");
    ASSERT_EQ(0, run.exitCode) << run.err;
    frame = ReadRawFrame();
    EXPECT_EQ(outer.right - outer.left, frame.width);
    EXPECT_EQ(outer.bottom - outer.top, frame.height);
    EXPECT_EQ("", MissingBlocks(frame, client_.x - outer.left, client_.y - outer.top));
}

TEST_F(ScreenCapture, TheWholeScreenIsScaledDownToAFrameWithFitAndRefusedWithout) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 1280 && height <= 1024) {
        GTEST_SKIP() << "a screen of " << width << "x" << height << " needs no scaling";
    }
    EXPECT_TRUE(Refused(RunCapture("--write-only --screen"),
                        "oxcapture: screen: screen is " + std::to_string(width) + "x" +
                            std::to_string(height) + ", larger than 1280x1024"));
    const CaptureRun run = RunCapture("--write-only --screen --fit");
    ASSERT_EQ(0, run.exitCode) << run.err;
    const Frame frame = ReadRawFrame();
    const double scale = std::min(1280.0 / width, 1024.0 / height); // the aspect ratio kept
    EXPECT_EQ(std::lround(width * scale), frame.width);
    EXPECT_EQ(std::lround(height * scale), frame.height);
    // Each block's middle, where no neighbour's colour reaches.
    for (int i = 0; frame.height > 0 && i < 4; ++i) {
        const COLORREF got = frame.At(static_cast<int>((client_.x + i * kBlock + 8) * scale),
                                      static_cast<int>((client_.y + 8) * scale));
        for (int shift = 0; shift < 24; shift += 8) {
            EXPECT_NEAR(kColours[i] >> shift & 0xFF, got >> shift & 0xFF, 16) << "block " << i;
        }
    }
}

TEST_F(ScreenCapture, WhatIsNotOnTheDesktopIsRefused) {
    const std::string offEdge = std::to_string(GetSystemMetrics(SM_XVIRTUALSCREEN) +
                                               GetSystemMetrics(SM_CXVIRTUALSCREEN) - 10) +
                                ",0,20x20";
    const std::string minimized = title_ + " (minimized)";
    const HWND icon = CreateWindowExA(0, "OxcaptureScreenTest", minimized.c_str(),
                                      WS_CAPTION | WS_VISIBLE | WS_MINIMIZE, 0, 0, 100, 50, nullptr,
                                      nullptr, nullptr, nullptr);
    ASSERT_TRUE(IsIconic(icon));
    const struct {
        std::string options;
        std::string message;
    } cases[] = {
        {"--window \"" + minimized + "\"", "window '" + minimized + "': the window is minimized"},
        {"--region " + offEdge, "region " + offEdge + ": the region is not wholly on the desktop"},
        {"--region 0,0,0x20", "region 0,0,0x20: the region is empty"},
        {"--window \"" + title_ + " (gone)\"",
         "window '" + title_ + " (gone)': no such window on the desktop"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Refused(RunCapture("--write-only " + c.options), "oxcapture: " + c.message));
        EXPECT_EQ(0, ReadRawFrame().width) << c.options << ": a raw frame file was written";
    }
    DestroyWindow(icon);
}

} // namespace
