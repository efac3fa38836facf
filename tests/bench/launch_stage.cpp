// Launching the real viewer until its frame is complete on screen, as the
// capture program's user sees it, against launching it with nothing to show.

#include "stages.h"
#include "resources/resource_ids.h"
#include "support/child_process.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/screen.h"
#include "support/settings_key_guard.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kLaunches = 7;
constexpr double kDeadlineMs = 30000.0;

// Complete when the client area is as large as the frame (less the few rows
// Wine's caption metrics cut off) and every pixel in it is the frame's.
bool FrameComplete(const ScreenShot& shot, const Frame& frame) {
    return shot.width >= frame.width && shot.height >= frame.height - 8 &&
           CountFrameMismatches(shot, frame) == 0;
}

// Anything but the background: the loading text painted before the first pass, or the frame.
bool Painted(const ScreenShot& shot) {
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    return std::any_of(shot.pixels.begin(), shot.pixels.end(),
                       [&](COLORREF pixel) { return pixel != background; });
}

// Polls without sleeping, so the time is taken close to the event.
template <typename Done> bool PollTight(double start, Done done) {
    while (NowMs() - start < kDeadlineMs) {
        if (done()) {
            return true;
        }
        Sleep(0);
    }
    return false;
}

struct LaunchSamples {
    std::vector<double> toWindow;
    std::vector<double> toPaint;
    std::vector<double> toFrame;
    std::vector<double> startOnly;
    std::vector<double> screenCheck;
};

// One launch on the frame in place: until its window shows, until anything
// is painted and until the frame is complete; then the viewer is closed.
bool TimeFramedLaunch(const Frame& frame, LaunchSamples& samples) {
    ChildProcess viewer;
    const double start = NowMs();
    if (!viewer.StartViewerWithTail()) {
        std::fprintf(stderr, "could not start %s\n", ViewerPath().c_str());
        return false;
    }
    HWND window = nullptr;
    if (!PollTight(start, [&] {
            window = viewer.FindWindowOf("OX581_DX9 Class", "OrbiluxCap_KT5810");
            return window != nullptr;
        })) {
        std::fprintf(stderr, "the viewer's window never appeared\n");
        return false;
    }
    samples.toWindow.push_back(NowMs() - start);
    double paintedAt = 0.0;
    if (!PollTight(start, [&] {
            const ScreenShot shot = CaptureClient(window);
            if (paintedAt == 0.0 && Painted(shot)) {
                paintedAt = NowMs();
            }
            return FrameComplete(shot, frame);
        })) {
        std::fprintf(stderr, "the frame never showed completely\n");
        return false;
    }
    samples.toFrame.push_back(NowMs() - start);
    samples.toPaint.push_back(paintedAt - start);
    // What one look at the screen costs: the time is known to within it.
    samples.screenCheck.push_back(TimeMs([&] { FrameComplete(CaptureClient(window), frame); }));
    PostMessageA(window, WM_COMMAND, IDM_FILE_EXIT, 0);
    if (viewer.WaitForExit() != 0) {
        std::fprintf(stderr, "the viewer did not end cleanly\n");
        return false;
    }
    return true;
}

// The launch with no raw frame file: process start and the file's check, which ends the run.
bool TimeEmptyLaunch(LaunchSamples& samples) {
    ChildProcess empty;
    const double emptyStart = NowMs();
    if (!empty.StartViewerWithTail() || empty.WaitForExit() != 0) {
        std::fprintf(stderr, "the viewer did not end cleanly without a frame\n");
        return false;
    }
    samples.startOnly.push_back(NowMs() - emptyStart);
    return true;
}

} // namespace

bool MeasureLaunch(int width, int height, LaunchMedians* result) {
    // Each run stores its frame size; the user's stored size comes back.
    SettingsKeyGuard settings;
    const Frame frame = PatternFrame(width, height);
    LaunchSamples samples;
    for (int launch = 0; launch < kLaunches; ++launch) {
        if (!PlaceRawFrame(frame)) {
            std::fprintf(stderr, "could not write %s\n", RawFramePath().c_str());
            return false;
        }
        if (!TimeFramedLaunch(frame, samples) || !TimeEmptyLaunch(samples)) {
            return false;
        }
    }
    result->toWindowMs = Median(samples.toWindow);
    result->toPaintMs = Median(samples.toPaint);
    result->toFrameMs = Median(samples.toFrame);
    result->startOnlyMs = Median(samples.startOnly);
    result->screenCheckMs = Median(samples.screenCheck);
    return true;
}
