#pragma once

// Looking at and painting a window of the test's own process.

#include "core/win32_handles.h"
#include "support/polling.h"

#include <windows.h>

inline COLORREF WindowPixel(HWND window, int x, int y) {
    return GetPixel(WindowDC(window).get(), x, y);
}

inline void FillClient(HWND window, COLORREF colour) {
    RECT client;
    GetClientRect(window, &client);
    WindowDC dc(window);
    GdiObject brush(CreateSolidBrush(colour));
    FillRect(dc.get(), &client, static_cast<HBRUSH>(brush.get()));
}
