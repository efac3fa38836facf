#pragma once

#include <windows.h>

#include <functional>

// Polls until done() holds or the deadline passes, handling this thread's
// window messages meanwhile. Returns the last answer of done().
inline bool PollUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) {
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            return done();
        }
        Sleep(10);
    }
}

// Removes whatever a test left in this thread's queue, a quit message included.
inline void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) {
            DispatchMessageA(&message);
        }
    }
}

inline COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

inline void FillClient(HWND window, COLORREF colour) {
    HDC dc = GetDC(window);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
}
