#include "core/frame_header.h"
#include "main_window_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct Pixel {
    BYTE b, g, r;
};

// The window as the viewer has it, at 64x48, drawn by the record's own Render.
class FrameDisplay : public MainWindow {
  protected:
    FrameDisplay() {
        record_.width = 64;
        record_.height = 48;
    }

    // Puts a frame in the buffer as the viewer holds it: top row first.
    void Load(int width, int height, const std::vector<Pixel>& topFirst) {
        std::memset(&record_.frameBuffer->header, 0, kFrameHeaderBytes);
        record_.frameBuffer->header.SetSize(width, height);
        std::memcpy(record_.frameBuffer->pixels, topFirst.data(), topFirst.size() * sizeof(Pixel));
        record_.frameLoaded = true;
    }
    HRESULT Render() { return record_.ApplicationRecord::Render(); }
    COLORREF At(int x, int y) { return WindowPixel(record_.window, x, y); }
};

constexpr COLORREF kMagenta = RGB(255, 0, 255);

TEST_F(FrameDisplay, BytesAreBlueGreenRedAndTheFirstRowIsDrawnAtTheTop) {
    // Blue says the column, green the row, red is the same everywhere.
    std::vector<Pixel> pixels;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            pixels.push_back({static_cast<BYTE>(x * 60), static_cast<BYTE>(y * 100), 7});
        }
    }
    Load(4, 3, pixels);
    ASSERT_EQ(0, Render());
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(RGB(7, y * 100, x * 60), At(x, y)) << "at " << x << "," << y;
        }
    }
}

TEST_F(FrameDisplay, NothingIsDrawnBeforeAFrameIsLoaded) {
    FillClient(record_.window, kMagenta);
    record_.frameLoaded = false;
    EXPECT_EQ(0, Render());
    EXPECT_EQ(kMagenta, At(0, 0));
    EXPECT_EQ(kMagenta, At(20, 20));
}

// Frames with no width or no height, by the hostile frames' seeds.
TEST_F(FrameDisplay, AnEnlargedWindowShowsTheBackgroundBeyondTheFrame) {
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    ASSERT_TRUE(SetWindowPos(record_.window, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER));
    PumpMessages();
    Load(4, 4, std::vector<Pixel>(16, {0, 0, 0xFF}));
    FillClient(record_.window, kMagenta);
    ASSERT_EQ(0, Render());
    RECT client;
    GetClientRect(record_.window, &client);
    ASSERT_GT(client.right, 100);
    EXPECT_EQ(RGB(255, 0, 0), At(0, 0));
    EXPECT_EQ(RGB(255, 0, 0), At(3, 3));
    EXPECT_EQ(background, At(4, 0)) << "right of the frame";
    EXPECT_EQ(background, At(0, 4)) << "below the frame";
    EXPECT_EQ(background, At(client.right - 1, client.bottom - 1));
    EXPECT_EQ(background, At(4, 4));
}

TEST_F(FrameDisplay, ManyPassesGiveBackEveryGraphicsObject) {
    // More passes than the platform's handle table holds: a pass that kept a
    // context or a bitmap would exhaust it and stop drawing long before the end.
    Load(8, 8, std::vector<Pixel>(64, {0x40, 0x80, 0xC0}));
    for (int pass = 0; pass < 20000; ++pass) {
        ASSERT_EQ(0, Render());
    }
    Load(8, 8, std::vector<Pixel>(64, {0xC0, 0x11, 0x22}));
    ASSERT_EQ(0, Render());
    EXPECT_EQ(RGB(0x22, 0x11, 0xC0), At(0, 0));
    EXPECT_EQ(RGB(0x22, 0x11, 0xC0), At(7, 7));
}

} // namespace
