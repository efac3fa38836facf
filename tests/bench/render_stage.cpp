// A full Render pass against a bare loop of the same SetPixel calls into a memory bitmap like the
// window's: the ratio shows what the pass costs beyond the per-pixel drawing it cannot avoid.

#include "app/application_record.h"
#include "core/win32_handles.h"
#include "core/frame_header.h"
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

// The baseline: context and bitmap are made before the clock starts; only a pass's SetPixels count.
class BareTarget {
  public:
    BareTarget(HWND window, int width, int height)
        : windowDC_(window), memoryDC_(windowDC_.get()),
          bitmap_(CreateCompatibleBitmap(windowDC_.get(), width, height)),
          selection_(memoryDC_.get(), bitmap_.get()) {}
    bool valid() const { return memoryDC_.get() != nullptr && bitmap_.get() != nullptr; }

    // The same colours in the same order as a Render pass, read from the
    // same buffer, so the two differ only by what surrounds the calls.
    void Draw(const BYTE* pixels, int width, int height) {
        const BYTE* pixel = pixels;
        HDC target = memoryDC_.get();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x, pixel += 3) {
                SetPixel(target, x, y, RGB(pixel[2], pixel[1], pixel[0]));
            }
        }
    }

  private:
    WindowDC windowDC_;
    MemoryDC memoryDC_;
    GdiObject bitmap_;
    Selection selection_;
};

} // namespace

bool MeasureRender(ApplicationRecord& record, int width, int height, RenderMedians* result) {
    FitClientToFrame(record.window, width, height);
    LoadPattern(record, width, height);
    BareTarget bare(record.window, width, height);
    if (!bare.valid()) {
        std::fprintf(stderr, "no memory bitmap for %dx%d: %lu\n", width, height, GetLastError());
        return false;
    }
    result->pass = Interleaved(
        kRepetitions, [&] { record.Render(); },
        [&] { bare.Draw(record.frameBuffer->pixels, width, height); }, PumpMessages);
    return true;
}
