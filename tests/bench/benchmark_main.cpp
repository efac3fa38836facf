// Times every stage of the viewer side by side with a baseline in one run and prints the ratios;
// the machines this runs on are too noisy for bare figures to mean much from one run to the next.

#include "app/application_record.h"
#include "stages.h"
#include "support/paths.h"
#include "support/test_window.h"

#include <cstdio>

namespace {

struct Size {
    int width;
    int height;
};
constexpr Size kSizes[] = {{640, 480}, {1280, 1024}};

void PrintRow(const char* stage, const Size& size, const char* baseline, double subjectMs,
              double baselineMs, double goal) {
    char frame[32];
    std::snprintf(frame, sizeof frame, "%dx%d", size.width, size.height);
    const double ratio = baselineMs > 0.0 ? subjectMs / baselineMs : 0.0;
    std::printf("%-22s %-10s %-30s %10.2f %10.2f %8.3f   %s %.2f\n", stage, frame, baseline,
                subjectMs, baselineMs, ratio, ratio <= goal ? "within" : "ABOVE", goal);
}

// The viewer's window, sized for the largest frame; each size then fits the client area to itself.
bool OpenWindow(ApplicationRecord& record) {
    if (record.frameBuffer == nullptr) {
        std::fprintf(stderr, "no frame buffer\n");
        return false;
    }
    record.width = kSizes[1].width;
    record.height = kSizes[1].height;
    if (record.CreateMainWindow(g_moduleInstance) != 0) {
        std::fprintf(stderr, "CreateMainWindow failed: %lu (is DISPLAY set?)\n", GetLastError());
        return false;
    }
    PumpMessages();
    return true;
}

// Row reversal and a Render pass at each size; renderMs gets each pass.
bool MeasureDrawing(ApplicationRecord& record, double (&renderMs)[2]) {
    for (int i = 0; i < 2; ++i) {
        const Size& size = kSizes[i];
        const PairedMedians reversal = MeasureRowReversal(record, size.width, size.height);
        PrintRow("row reversal", size, "memcpy of the same bytes", reversal.subject,
                 reversal.baseline, 2.0);

        PairedMedians render;
        if (!MeasureRender(record, size.width, size.height, &render)) {
            return false;
        }
        renderMs[i] = render.subject;
        PrintRow("Render pass", size, "bare SetPixel loop", render.subject, render.baseline, 1.05);
        std::printf("%-22s %-10s the first pass at this size took %.1f ms\n", "", "",
                    render.subjectFirst);
    }
    return true;
}

void MeasureSave(ApplicationRecord& record) {
    const Size& large = kSizes[1];
    const ExportMedians save = MeasureExport(record, large.width, large.height, TestFolder());
    PrintRow("BMP export (Save)", large, "one WriteFile, same bytes", save.againstWrite.subject,
             save.againstWrite.baseline, 1.5);
    PrintRow("BMP export (Save)", large, "one WriteFile + flush", save.againstFlushedWrite.subject,
             save.againstFlushedWrite.baseline, 1.5);
    std::printf("%-22s %-10s of which %.2f ms reverse the rows into a fresh block\n", "", "",
                save.reversalMs);
}

bool MeasureCaptureProgram() {
    const Size& large = kSizes[1];
    CaptureMedians capture;
    if (!MeasureCapture(large.width, large.height, &capture)) {
        return false;
    }
    PrintRow("PNG to raw frame file", large, "WIC decode into memory", capture.inProcess.subject,
             capture.inProcess.baseline, 1.2);
    std::printf("%-22s %-10s oxcapture.exe --write-only took %.1f ms, of which %.1f ms "
                "start and end it (as with --version)\n",
                "", "", capture.programMs, capture.programStartMs);
    return true;
}

// Start-up (launch to the window shown) plus one pass at each size: what a complete frame may take.
bool MeasureLaunches(const double (&renderMs)[2]) {
    for (int i = 0; i < 2; ++i) {
        LaunchMedians launch;
        if (!MeasureLaunch(kSizes[i].width, kSizes[i].height, &launch)) {
            return false;
        }
        const double budget = launch.toWindowMs + renderMs[i];
        PrintRow("launch to frame", kSizes[i], "launch to window + 1 pass", launch.toFrameMs,
                 budget, 1.0 + launch.screenCheckMs / budget);
        std::printf("%-22s %-10s window shown after %.1f ms (start without a frame %.1f ms), "
                    "first painted after %.1f ms;\n",
                    "", "", launch.toWindowMs, launch.startOnlyMs, launch.toPaintMs);
        std::printf("%-22s %-10s frame complete %.1f ms after the window showed (%.2f passes), "
                    "%.1f ms after the first paint (%.2f passes); one screen check %.1f ms\n",
                    "", "", launch.toFrameMs - launch.toWindowMs,
                    (launch.toFrameMs - launch.toWindowMs) / renderMs[i],
                    launch.toFrameMs - launch.toPaintMs,
                    (launch.toFrameMs - launch.toPaintMs) / renderMs[i], launch.screenCheckMs);
    }
    return true;
}

} // namespace

int main() {
    g_moduleInstance = GetModuleHandleA(nullptr);
    ApplicationRecord record;
    if (!OpenWindow(record)) {
        return 1;
    }
    std::printf("medians in ms; subject and baseline timed in turns in this one run\n");
    std::printf("%-22s %-10s %-30s %10s %10s %8s   %s\n", "stage", "frame", "baseline", "stage ms",
                "base ms", "ratio", "goal");
    double renderMs[2] = {0.0, 0.0};
    bool ok = MeasureDrawing(record, renderMs);
    if (ok) {
        MeasureSave(record);
    }
    DestroyWindow(record.window);
    PumpMessages();
    ok = ok && MeasureCaptureProgram();
    ok = ok && MeasureLaunches(renderMs);
    return ok ? 0 : 1;
}
