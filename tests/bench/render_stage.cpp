// A full Render pass against a bare loop of the same SetPixel calls into a memory bitmap like the
// window's: the ratio shows what the pass costs beyond the per-pixel drawing it cannot avoid.

#include "app/application_record.h"
#include "core/win32_handles.h"
#include "stages.h"
#include "support/test_window.h"

#include <cstdio>

namespace {

constexpr int kRepetitions = 15;

// Sizes the window so its client area is the frame exactly: a larger one
// would add the background fill to every pass, a smaller one clip the copy.
void FitClientToFrame(HWND window, int width, int height) {
    RECT client = {0, 0, 0, 0};
    // Twice: the menu bar may wrap differently at the new width.
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT outer;
        if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client)) {
            break;
        }
        if (client.right == width && client.bottom == height) {
            break;
        }
        const int outerWidth = outer.right - outer.left + width - client.right;
        const int outerHeight = outer.bottom - outer.top + height - client.bottom;
        if (!SetWindowPos(window, nullptr, 0, 0, outerWidth, outerHeight,
                          SWP_NOZORDER | SWP_NOACTIVATE)) {
            std::fprintf(stderr, "SetWindowPos failed: %lu\n", GetLastError());
            break;
        }
        PumpMessages();
    }
}

} // namespace

bool MeasureRender(ApplicationRecord& record, int width, int height, PairedMedians* pass) {
    FitClientToFrame(record.window, width, height);
    LoadPattern(record, width, height);
    // The baseline's context and bitmap are made before the clock starts: only its SetPixels count.
    WindowDC windowDC(record.window);
    MemoryDC memoryDC(CreateCompatibleDC(windowDC.get()));
    GdiObject bitmap(CreateCompatibleBitmap(windowDC.get(), width, height));
    Selection selection(memoryDC.get(), bitmap.get());
    if (memoryDC.get() == nullptr || bitmap.get() == nullptr) {
        std::fprintf(stderr, "no memory bitmap for %dx%d: %lu\n", width, height, GetLastError());
        return false;
    }
    // The same colours in the same order as a Render pass, read from the same buffer, so the two
    // differ only by what surrounds the calls.
    const auto bareLoop = [&] {
        const BYTE* pixel = record.frameBuffer->pixels;
        HDC target = memoryDC.get();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x, pixel += 3) {
                SetPixel(target, x, y, RGB(pixel[2], pixel[1], pixel[0]));
            }
        }
    };
    const auto renderPass = [&] { record.Render(); };
    *pass = Interleaved(kRepetitions, renderPass, bareLoop, PumpMessages);
    return true;
}
