#include "core/frame_header.h"
#include "main_window_fixture.h"
#include "support/frame_bytes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The window as the viewer has it, at 64x48, drawn by the record's own Render.
class FrameDisplay : public MainWindow {
  protected:
    FrameDisplay() {
        record_.width = 64;
        record_.height = 48;
    }

    // Puts a frame in the buffer as the viewer holds it: top row first.
    void Load(const Frame& frame) {
        std::memset(&record_.frameBuffer->header, 0, kFrameHeaderBytes);
        record_.frameBuffer->header.SetSize(frame.width, frame.height);
        std::memcpy(record_.frameBuffer->pixels, frame.topFirst.data(), frame.topFirst.size());
        record_.frameLoaded = true;
    }
    HRESULT Render() { return record_.ApplicationRecord::Render(); }
    COLORREF At(int x, int y) { return WindowPixel(record_.window, x, y); }
};

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// Frame::At reads the bytes as blue, green, red, by hand.
TEST_F(FrameDisplay, BytesAreBlueGreenRedAndTheFirstRowIsDrawnAtTheTop) {
    const Frame frame = PatternFrame(4, 3);
    Load(frame);
    ASSERT_EQ(0, Render());
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(frame.At(i % 4, i / 4), At(i % 4, i / 4)) << "at " << i % 4 << "," << i / 4;
    }
}

TEST_F(FrameDisplay, NothingIsDrawnBeforeAFrameIsLoaded) {
    FillClient(record_.window, kMagenta);
    record_.frameLoaded = false;
    EXPECT_EQ(0, Render());
    EXPECT_EQ(kMagenta, At(0, 0));
    EXPECT_EQ(kMagenta, At(20, 20));
}

// Frames with no width or no height: by the hostile frames' seeds.
TEST_F(FrameDisplay, AnEnlargedWindowShowsTheBackgroundBeyondTheFrame) {
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    ASSERT_TRUE(SetWindowPos(record_.window, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER));
    PumpMessages();
    const Frame frame = PatternFrame(4, 4);
    Load(frame);
    FillClient(record_.window, kMagenta);
    ASSERT_EQ(0, Render());
    RECT client;
    GetClientRect(record_.window, &client);
    ASSERT_GT(client.right, 100);
    EXPECT_EQ(frame.At(3, 3), At(3, 3));
    EXPECT_EQ(background, At(4, 0)) << "right of the frame";
    EXPECT_EQ(background, At(0, 4)) << "below the frame";
    EXPECT_EQ(background, At(client.right - 1, client.bottom - 1));
    EXPECT_EQ(background, At(4, 4));
}

TEST_F(FrameDisplay, ManyPassesGiveBackEveryGraphicsObject) {
    // More passes than the platform's handle table holds: a pass that kept a
    // context or a bitmap would exhaust it and stop drawing long before the end.
    Load(PatternFrame(8, 8));
    for (int pass = 0; pass < 20000; ++pass) {
        ASSERT_EQ(0, Render());
    }
    Frame other = PatternFrame(8, 8);
    for (std::uint8_t& byte : other.topFirst) {
        byte = static_cast<std::uint8_t>(~byte); // other pixels at the same places
    }
    Load(other);
    ASSERT_EQ(0, Render());
    EXPECT_EQ(other.At(1, 0), At(1, 0));
    EXPECT_EQ(other.At(7, 7), At(7, 7));
}

} // namespace
