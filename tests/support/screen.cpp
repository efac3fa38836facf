#include "support/screen.h"

#include "core/win32_handles.h"

#include <algorithm>

ScreenShot CaptureScreen(const RECT& area) {
    ScreenShot shot;
    shot.width = area.right - area.left;
    shot.height = area.bottom - area.top;
    if (shot.width <= 0 || shot.height <= 0) {
        shot.width = shot.height = 0;
        return shot;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    WindowDC screen(nullptr);
    MemoryDC memory(CreateCompatibleDC(screen.get()));
    GdiObject bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        Selection selection(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), area.left, area.top,
               SRCCOPY);
    }
    GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
    for (size_t i = 0; p != nullptr && i < shot.pixels.size(); ++i) {
        const DWORD v = p[i]; // 0x00RRGGBB in a 32-bit DIB
        shot.pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    return shot;
}

RECT ScreenRectOfClient(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x, origin.y);
    return client;
}

ScreenShot CaptureClient(HWND window) {
    return CaptureScreen(ScreenRectOfClient(window));
}

int CountFrameMismatches(const ScreenShot& shot, const Frame& frame) {
    RECT outer = {0, 0, 0, 0};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, TRUE, 0); // cannot fail on an empty one
    const auto shown = [](int extent, int added, int taken) {
        return std::max(0, std::min(extent, extent + added - taken));
    };
    const int width = shown(frame.width, 9, outer.right - outer.left);
    const int height = shown(frame.height, 42, outer.bottom - outer.top);
    int mismatches = width * height - std::min(width, shot.width) * std::min(height, shot.height);
    for (int y = 0; y < shot.height && y < frame.height; ++y) {
        for (int x = 0; x < shot.width && x < frame.width; ++x) {
            mismatches += shot.At(x, y) != frame.At(x, y);
        }
    }
    return mismatches;
}

Frame FrameOf(const ScreenShot& shot) {
    Frame frame;
    frame.width = shot.width;
    frame.height = shot.height;
    for (COLORREF pixel : shot.pixels) {
        frame.topFirst.insert(frame.topFirst.end(),
                              {GetBValue(pixel), GetGValue(pixel), GetRValue(pixel)});
    }
    return frame;
}
