#include "app/frame_clock.h"

#include <mmsystem.h>

namespace {

// While stopped the clock stands still at its stop time; only start reads
// the source then.
template <typename Time, typename ReadSource>
Time ClockNow(const ClockTimes<Time>& times, int command, ReadSource readSource) {
    if (times.stopTime != 0 && command != kClockStart) {
        return times.stopTime;
    }
    return readSource();
}

// Returns the time span the command asks for, in source units.
template <typename Time>
Time ApplyClockCommand(ClockTimes<Time>& times, int& stopped, int command, Time now) {
    switch (command) {
    case kClockStart:
        if (stopped) {
            times.baseTime += now - times.stopTime;
        }
        times.stopTime = 0;
        times.lastElapsedTime = now;
        stopped = 0;
        return 0;
    case kClockStop:
        if (!stopped) {
            times.stopTime = now;
            times.lastElapsedTime = now;
            stopped = 1;
        }
        return 0;
    case kClockAppTime:
        return now - times.baseTime;
    case kClockElapsedTime: {
        Time elapsed = now - times.lastElapsedTime;
        times.lastElapsedTime = now;
        return elapsed;
    }
    default:
        return 0;
    }
}

FrameClockState g_frameClock;

} // namespace

const FrameClockSources& PlatformClockSources() {
    static const FrameClockSources sources = {QueryPerformanceFrequency, QueryPerformanceCounter,
                                              timeGetTime};
    return sources;
}

float RunFrameClock(FrameClockState& state, int command, const FrameClockSources& sources) {
    if (!state.sourceChosen) {
        state.sourceChosen = true;
        LARGE_INTEGER frequency;
        state.usesCounter = sources.queryFrequency(&frequency) != FALSE && frequency.QuadPart > 0;
        state.counterFrequency = state.usesCounter ? frequency.QuadPart : 0;
    }

    if (state.usesCounter) {
        LONGLONG now = ClockNow(state.counter, command, [&sources] {
            LARGE_INTEGER count;
            count.QuadPart = 0;
            sources.queryCounter(&count); // cannot fail once the frequency was reported
            return count.QuadPart;
        });
        LONGLONG span = ApplyClockCommand(state.counter, state.stopped, command, now);
        return static_cast<float>(static_cast<double>(span) /
                                  static_cast<double>(state.counterFrequency));
    }

    double now = ClockNow(state.tick, command, [&sources] {
        return static_cast<double>(static_cast<DWORD>(sources.tickCount())) * 0.001;
    });
    return static_cast<float>(ApplyClockCommand(state.tick, state.stopped, command, now));
}

float FrameClock(int command) {
    return RunFrameClock(g_frameClock, command, PlatformClockSources());
}
