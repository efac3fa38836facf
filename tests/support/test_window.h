#pragma once

// Looking at and painting a window of the test's own process.

#include "support/polling.h"

#include <windows.h>

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
