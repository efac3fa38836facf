#pragma once

// Waiting with a deadline: a window of the test itself needs this thread's
// messages pumped meanwhile, another process's windows do not.

#include <windows.h>

#include <functional>

// Polls done() every 20 ms, handling no messages, until it holds or timeoutMs pass.
inline bool PollWithoutPumping(const std::function<bool()>& done, DWORD timeoutMs = 15000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) {
            return done();
        }
        Sleep(20);
    }
    return true;
}

// Dispatches what waits in this thread's queue, a quit message aside.
inline void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

// Polls done() like PollWithoutPumping, handling this thread's window messages before each look.
inline bool PollPumpingMessages(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    return PollWithoutPumping(
        [&] {
            PumpMessages();
            return done();
        },
        timeoutMs);
}
