#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

// Milliseconds from the performance counter, which every system this runs on has.
inline double NowMs() {
    static const double perMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / perMs;
}

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

inline double TimeMs(const std::function<void()>& work) {
    const double start = NowMs();
    work();
    return NowMs() - start;
}

struct PairedMedians {
    double subject = 0.0;
    double baseline = 0.0;
    double subjectFirst = 0.0; // the untimed first round, with its cold start
};

// Times the subject and its baseline side by side, taking turns at going first so that neither
// always runs on what the other has just warmed. One untimed round of each comes first; prepare,
// when given, runs untimed before every call. An odd count keeps the turns even.
inline PairedMedians Interleaved(int repetitions, const std::function<void()>& subject,
                                 const std::function<void()>& baseline,
                                 const std::function<void()>& prepare = nullptr) {
    auto timed = [&](const std::function<void()>& work) {
        if (prepare) {
            prepare();
        }
        return TimeMs(work);
    };
    const double first = timed(subject);
    timed(baseline);
    const std::function<void()>* work[2] = {&subject, &baseline};
    std::vector<double> ms[2]; // the subject's, the baseline's
    for (int i = 0; i < repetitions; ++i) {
        for (int turn = 0; turn < 2; ++turn) { // the subject first in even rounds
            const int which = (i + turn) % 2;
            ms[which].push_back(timed(*work[which]));
        }
    }
    return {Median(ms[0]), Median(ms[1]), first};
}
