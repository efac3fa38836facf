#include "app/frame_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

namespace {

// Hand-driven time: the counter at 1000 counts a second, the tick in ms, so values come out exact.
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

// Plays a scenario on fresh state, one step a word: "start", "stop", "+N"
// (both fake sources move on N ms), "app=S" and "elapsed=S" (that reading is
// S seconds). Returns each wrong reading; "" when all are right.
std::string Play(const std::string& steps, const FrameClockSources& sources) {
    g_fakeCounter = 5000000;
    g_fakeTick = 5000000;
    FrameClockState state;
    std::istringstream words(steps);
    std::string wrong;
    for (std::string word; words >> word;) {
        const std::size_t equals = word.find('=');
        if (word[0] == '+') {
            g_fakeCounter += std::stoi(word.substr(1));
            g_fakeTick = static_cast<DWORD>(g_fakeCounter); // in step, both in ms
        } else if (equals == std::string::npos) {
            RunFrameClock(state, word == "start" ? kClockStart : kClockStop, sources);
        } else {
            const int command = word[0] == 'a' ? kClockAppTime : kClockElapsedTime;
            const float got = RunFrameClock(state, command, sources);
            // The tick source works in double seconds: sums carry rounding far below a microsecond.
            if (std::abs(got - std::stof(word.substr(equals + 1))) > 1e-6f) {
                wrong += " " + word + " got " + std::to_string(got) + ";";
            }
        }
    }
    return wrong;
}

class FrameClockOnBothSources : public ::testing::TestWithParam<const FrameClockSources*> {};

TEST_P(FrameClockOnBothSources, CountsApplicationAndElapsedTimeOnlyWhileRunning) {
    const char* const scenarios[] = {
        // Application time counts from the first start.
        "start app=0 +1500 app=1.5",
        // While stopped both readings stand still and elapsed time is zero.
        "start +1000 stop +1000 app=1 elapsed=0 +700 app=1 start +250 app=1.25",
        // Elapsed time is the span since the previous query or start; after a
        // restart, neither the stop nor the time before it.
        "start +40 elapsed=0.04 +20 elapsed=0.02 elapsed=0 +10 stop +500 start +30 elapsed=0.03",
        // A second stop keeps the stop time; a start while running restarts the interval only.
        "start +100 stop +100 stop +100 start app=0.1 +100 start app=0.2 elapsed=0",
    };
    for (const char* steps : scenarios) {
        EXPECT_EQ("", Play(steps, *GetParam())) << steps;
    }
}

INSTANTIATE_TEST_SUITE_P(CounterAndTick, FrameClockOnBothSources,
                         ::testing::Values(&kFakeCounterSource, &kFakeTickSource));

// The platform's sources (the counter, and the tick without its frequency) count in seconds.
class FrameClockInRealTime : public ::testing::TestWithParam<bool> {};

TEST_P(FrameClockInRealTime, MeasuresAWaitInSeconds) {
    FrameClockState state;
    FrameClockSources sources = PlatformClockSources();
    sources.queryFrequency = GetParam() ? sources.queryFrequency : NoFrequency;
    RunFrameClock(state, kClockStart, sources);
    EXPECT_EQ(GetParam(), state.usesCounter);
    Sleep(300);
    const float elapsed = RunFrameClock(state, kClockElapsedTime, sources);
    EXPECT_GE(elapsed, 0.25f); // Sleep may end a tick early under Wine
    EXPECT_LT(elapsed, 3.0f);
    EXPECT_GE(RunFrameClock(state, kClockAppTime, sources), elapsed);
}

INSTANTIATE_TEST_SUITE_P(CounterAndTick, FrameClockInRealTime, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "PerformanceCounter" : "MillisecondTick";
                         });

} // namespace
