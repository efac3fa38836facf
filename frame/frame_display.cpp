#include "app/application_record.h"

#include "core/win32_handles.h"
#include "core/frame_header.h"

namespace {

// An enlarged window shows its background beyond the frame instead of
// whatever lies outside the memory bitmap; the copy is then clipped to the
// frame so the two never fight over a pixel.
bool PaintBeyondFrame(HDC windowDC, const RECT& client, int frameWidth, int frameHeight) {
    if (client.right <= frameWidth && client.bottom <= frameHeight) {
        return false;
    }
    HBRUSH background = GetSysColorBrush(COLOR_WINDOW);
    const RECT right = {frameWidth, 0, client.right, client.bottom};
    const RECT below = {0, frameHeight, frameWidth < client.right ? frameWidth : client.right,
                        client.bottom};
    FillRect(windowDC, &right, background);
    FillRect(windowDC, &below, background);
    IntersectClipRect(windowDC, 0, 0, frameWidth, frameHeight);
    return true;
}

} // namespace

// Drawn afresh on every idle pass, one SetPixel per pixel, then copied in one
// BitBlt. Graphics failures are not examined: a failed pass leaves the window
// as it was, and the next pass tries again 20 ms later.
HRESULT ApplicationRecord::Render() {
    if (!frameLoaded) {
        return 0;
    }
    // The size comes from the header in the buffer, not from the record.
    const int frameWidth = frameBuffer->header.Width();
    const int frameHeight = frameBuffer->header.Height();
    const BYTE* pixel = frameBuffer->pixels;

    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    WindowDC windowDC(window);
    MemoryDC memoryDC(CreateCompatibleDC(windowDC.get()));
    if (windowDC.get() == nullptr || memoryDC.get() == nullptr) {
        return 0;
    }
    // Compatible with the window's context: a memory context starts out
    // with a one-pixel monochrome bitmap.
    GdiObject bitmap(CreateCompatibleBitmap(windowDC.get(), frameWidth, frameHeight));
    Selection selection(memoryDC.get(), bitmap.get());

    HDC target = memoryDC.get();
    for (int y = 0; y < frameHeight; ++y) {
        for (int x = 0; x < frameWidth; ++x, pixel += 3) {
            SetPixel(target, x, y, RGB(pixel[2], pixel[1], pixel[0]));
        }
    }

    const bool clipped = PaintBeyondFrame(windowDC.get(), client, frameWidth, frameHeight);
    BitBlt(windowDC.get(), 0, 0, client.right, client.bottom, target, 0, 0, SRCCOPY);
    if (clipped) {
        SelectClipRgn(windowDC.get(), nullptr);
    }
    return 0;
}
