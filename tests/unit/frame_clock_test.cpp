#include "app/frame_clock.h"

#include <gtest/gtest.h>

namespace {

// A hand-driven time source: the counter runs at 1000 counts a second and
// the tick in milliseconds, so expected values are exact.
LONGLONG g_fakeCounter = 0;
DWORD g_fakeTick = 0;

BOOL WINAPI FakeFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = 1000;
    return TRUE;
}
BOOL WINAPI NoFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = 0;
    return FALSE;
}
BOOL WINAPI FakeCounter(LARGE_INTEGER* count) {
    count->QuadPart = g_fakeCounter;
    return TRUE;
}
DWORD WINAPI FakeTick() {
    return g_fakeTick;
}

const FrameClockSources kFakeCounterSource = {FakeFrequency, FakeCounter, FakeTick};
const FrameClockSources kFakeTickSource = {NoFrequency, FakeCounter, FakeTick};

// Moves both fake sources on by the same number of milliseconds.
void Advance(int milliseconds) {
    g_fakeCounter += milliseconds;
    g_fakeTick += static_cast<DWORD>(milliseconds);
}

// The tick source works in double seconds, so sums carry rounding far below
// a microsecond.
#define EXPECT_SECONDS(expected, actual) EXPECT_NEAR(expected, actual, 1e-6)

class FrameClockOnBothSources : public ::testing::TestWithParam<const FrameClockSources*> {
  protected:
    void SetUp() override {
        g_fakeCounter = 5000000;
        g_fakeTick = 5000000;
    }
    float Run(int command) { return RunFrameClock(state_, command, *GetParam()); }
    FrameClockState state_;
};

TEST_P(FrameClockOnBothSources, ApplicationTimeCountsFromTheFirstStart) {
    Run(kClockStart);
    EXPECT_SECONDS(0.0f, Run(kClockAppTime));
    Advance(1500);
    EXPECT_SECONDS(1.5f, Run(kClockAppTime));
}

TEST_P(FrameClockOnBothSources, StoppedTimeDoesNotCount) {
    Run(kClockStart);
    Advance(1000);
    Run(kClockStop);
    Advance(1000);
    // While stopped both readings stand still and elapsed time is zero.
    EXPECT_SECONDS(1.0f, Run(kClockAppTime));
    EXPECT_SECONDS(0.0f, Run(kClockElapsedTime));
    Advance(700);
    EXPECT_SECONDS(1.0f, Run(kClockAppTime));
    Run(kClockStart);
    Advance(250);
    EXPECT_SECONDS(1.25f, Run(kClockAppTime));
}

TEST_P(FrameClockOnBothSources, ElapsedTimeIsTheSpanSinceThePreviousQueryOrStart) {
    Run(kClockStart);
    Advance(40);
    EXPECT_SECONDS(0.04f, Run(kClockElapsedTime));
    Advance(20);
    EXPECT_SECONDS(0.02f, Run(kClockElapsedTime));
    EXPECT_SECONDS(0.0f, Run(kClockElapsedTime));
    Advance(10);
    Run(kClockStop);
    Advance(500);
    Run(kClockStart);
    Advance(30);
    // Only the time since the restart: neither the stop nor the time before it.
    EXPECT_SECONDS(0.03f, Run(kClockElapsedTime));
}

TEST_P(FrameClockOnBothSources, StopWhileStoppedAndStartWhileRunningChangeLittle) {
    Run(kClockStart);
    Advance(100);
    Run(kClockStop);
    Advance(100);
    Run(kClockStop); // must not move the stop time
    Advance(100);
    Run(kClockStart);
    EXPECT_SECONDS(0.1f, Run(kClockAppTime));
    Advance(100);
    Run(kClockStart); // running: only restarts the elapsed interval
    EXPECT_SECONDS(0.2f, Run(kClockAppTime));
    EXPECT_SECONDS(0.0f, Run(kClockElapsedTime));
}

INSTANTIATE_TEST_SUITE_P(CounterAndTick, FrameClockOnBothSources,
                         ::testing::Values(&kFakeCounterSource, &kFakeTickSource));

// The same commands on the platform's real sources: the performance counter,
// and the millisecond tick with the counter's frequency withheld.
BOOL WINAPI WithheldFrequency(LARGE_INTEGER*) {
    return FALSE;
}

class FrameClockInRealTime : public ::testing::TestWithParam<bool> {
  protected:
    FrameClockSources Sources() const {
        FrameClockSources sources = PlatformClockSources();
        if (!GetParam()) {
            sources.queryFrequency = WithheldFrequency;
        }
        return sources;
    }
};

TEST_P(FrameClockInRealTime, MeasuresAWaitAndLeavesAStoppedOneOut) {
    FrameClockState state;
    const FrameClockSources sources = Sources();
    const DWORD begin = GetTickCount();
    RunFrameClock(state, kClockStart, sources);
    EXPECT_EQ(GetParam(), state.usesCounter);
    Sleep(300);
    const float elapsed = RunFrameClock(state, kClockElapsedTime, sources);
    EXPECT_GE(elapsed, 0.25f); // Sleep may end a tick early under Wine
    EXPECT_LT(elapsed, 3.0f);
    RunFrameClock(state, kClockStop, sources);
    Sleep(1000);
    EXPECT_FLOAT_EQ(0.0f, RunFrameClock(state, kClockElapsedTime, sources));
    RunFrameClock(state, kClockStart, sources);
    Sleep(200);
    const float appTime = RunFrameClock(state, kClockAppTime, sources);
    const float wall = static_cast<float>(GetTickCount() - begin) * 0.001f;
    // About one second less than the wall clock; the margin is for a busy machine.
    EXPECT_NEAR(wall - 1.0f, appTime, 0.15f) << "wall " << wall;
    EXPECT_GT(appTime, 0.4f);
}

INSTANTIATE_TEST_SUITE_P(CounterAndTick, FrameClockInRealTime, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "PerformanceCounter" : "MillisecondTick";
                         });

} // namespace
