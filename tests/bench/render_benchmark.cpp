// Times a full Render pass against a bare loop of the same SetPixel calls
// into a memory bitmap compatible with the same window, so the ratio shows
// what the pass costs beyond the per-pixel drawing it cannot avoid.

#include "app/application_record.h"
#include "app/win32_handles.h"
#include "frame/frame_header.h"
#include "tests/support/test_window.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Odd, so the two orders (Render first, bare loop first) take turns and
// neither always runs on a machine the other has just warmed.
constexpr int kRepetitions = 15;

struct FrameSize {
    int width;
    int height;
};

constexpr FrameSize kSizes[] = {{640, 480}, {1280, 1024}};

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end,
                    const LARGE_INTEGER& frequency) {
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Varies every channel along both axes, so no run of equal pixels lets a
// drawing path skip work.
void LoadPattern(ApplicationRecord& record, int width, int height) {
    std::memset(record.frameBuffer, 0, kFrameHeaderBytes);
    std::memcpy(record.frameBuffer + kFrameWidthOffset, &width, 4);
    std::memcpy(record.frameBuffer + kFrameHeightOffset, &height, 4);
    BYTE* pixel = record.frameBuffer + kFrameHeaderBytes;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, pixel += 3) {
            pixel[0] = static_cast<BYTE>(x * 7 + y * 3);
            pixel[1] = static_cast<BYTE>((x ^ y) * 5);
            pixel[2] = static_cast<BYTE>(x * y + (x >> 3));
        }
    }
    record.frameLoaded = true;
}

// Sizes the window so its client area is the frame exactly: a larger one
// would add the background fill to every pass, a smaller one clip the copy.
RECT FitClientToFrame(HWND window, int width, int height) {
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
        DrainMessages();
    }
    GetClientRect(window, &client);
    return client;
}

// The baseline: the context and the bitmap exist before the clock starts,
// and only the SetPixel calls of a pass are timed.
class BareTarget {
  public:
    BareTarget(HWND window, int width, int height)
        : windowDC_(window), memoryDC_(windowDC_.get()),
          bitmap_(CreateCompatibleBitmap(windowDC_.get(), width, height)),
          selection_(memoryDC_.get(), bitmap_.get()) {}
    bool valid() const { return memoryDC_.get() != nullptr && bitmap_.get() != nullptr; }

    // The same colours in the same order as a Render pass, read from the
    // same buffer, so the two differ only by what surrounds the calls.
    void Draw(const BYTE* frame, int width, int height) {
        const BYTE* pixel = frame + kFrameHeaderBytes;
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

struct Result {
    FrameSize size;
    RECT client;
    double renderMs;
    double bareMs;
};

bool Measure(ApplicationRecord& record, const FrameSize& size, const LARGE_INTEGER& frequency,
             Result* result) {
    result->size = size;
    result->client = FitClientToFrame(record.window, size.width, size.height);
    LoadPattern(record, size.width, size.height);
    BareTarget bare(record.window, size.width, size.height);
    if (!bare.valid()) {
        std::fprintf(stderr, "no memory bitmap for %dx%d: %lu\n", size.width, size.height,
                     GetLastError());
        return false;
    }

    std::vector<double> renderMs;
    std::vector<double> bareMs;
    auto timeRender = [&](std::vector<double>* into) {
        DrainMessages();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        record.Render();
        QueryPerformanceCounter(&end);
        if (into != nullptr) {
            into->push_back(Milliseconds(start, end, frequency));
        }
    };
    auto timeBare = [&](std::vector<double>* into) {
        DrainMessages();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        bare.Draw(record.frameBuffer, size.width, size.height);
        QueryPerformanceCounter(&end);
        if (into != nullptr) {
            into->push_back(Milliseconds(start, end, frequency));
        }
    };

    // Untimed: the first pass of each pays for code and pages touched once.
    timeRender(nullptr);
    timeBare(nullptr);
    for (int repetition = 0; repetition < kRepetitions; ++repetition) {
        if (repetition % 2 == 0) {
            timeRender(&renderMs);
            timeBare(&bareMs);
        } else {
            timeBare(&bareMs);
            timeRender(&renderMs);
        }
    }
    result->renderMs = Median(renderMs);
    result->bareMs = Median(bareMs);
    return true;
}

} // namespace

int main() {
    g_moduleInstance = GetModuleHandleA(nullptr);
    ApplicationRecord record;
    if (record.frameBuffer == nullptr) {
        std::fprintf(stderr, "no frame buffer\n");
        return 1;
    }
    // Room for the largest frame from the start; each size then fits the
    // client area to itself.
    record.width = kSizes[1].width;
    record.height = kSizes[1].height;
    if (record.CreateMainWindow(g_moduleInstance) != 0) {
        std::fprintf(stderr, "CreateMainWindow failed: %lu (is DISPLAY set?)\n", GetLastError());
        return 1;
    }
    DrainMessages();

    LARGE_INTEGER frequency;
    // Cannot fail on any system this runs on, but a zero would divide.
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0) {
        std::fprintf(stderr, "no performance counter\n");
        return 1;
    }

    std::vector<Result> results;
    for (const FrameSize& size : kSizes) {
        Result result;
        if (!Measure(record, size, frequency, &result)) {
            DestroyWindow(record.window);
            return 1;
        }
        results.push_back(result);
    }
    DestroyWindow(record.window);
    DrainMessages();

    std::printf("median ms per pass over %d interleaved repetitions\n", kRepetitions);
    std::printf("%-10s %-10s %12s %12s %12s\n", "frame", "client", "Render ms", "bare ms",
                "Render/bare");
    for (const Result& result : results) {
        char frame[32];
        char client[32];
        std::snprintf(frame, sizeof frame, "%dx%d", result.size.width, result.size.height);
        std::snprintf(client, sizeof client, "%ldx%ld", result.client.right, result.client.bottom);
        std::printf("%-10s %-10s %12.2f %12.2f %12.3f\n", frame, client, result.renderMs,
                    result.bareMs, result.renderMs / result.bareMs);
    }
    return 0;
}
