#pragma once

#include <windows.h>

enum FrameClockCommand {
    kClockStart = 1,
    kClockStop = 2,
    kClockAppTime = 5,
    kClockElapsedTime = 6,
};

// Where the clock reads the time; replaceable so that a test can run the
// millisecond source on a machine that has a performance counter.
struct FrameClockSources {
    BOOL(WINAPI* queryFrequency)(LARGE_INTEGER* frequency);
    BOOL(WINAPI* queryCounter)(LARGE_INTEGER* count);
    DWORD(WINAPI* tickCount)();
};

const FrameClockSources& PlatformClockSources();

template <typename Time> struct ClockTimes {
    Time baseTime;
    Time stopTime;
    Time lastElapsedTime;
};

struct FrameClockState {
    bool sourceChosen = false;
    bool usesCounter = false;
    LONGLONG counterFrequency = 0;
    int stopped = 1;                           // the clock starts out stopped
    ClockTimes<LONGLONG> counter = {0, 0, 0};  // counter values
    ClockTimes<double> tick = {0.0, 0.0, 0.0}; // seconds
};

// Runs one clock command on the given state; the result is in seconds.
float RunFrameClock(FrameClockState& state, int command, const FrameClockSources& sources);

// The process-wide clock on the platform's time sources.
float FrameClock(int command);
