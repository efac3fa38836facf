#pragma once

#include <windows.h>

extern const char kMainWindowClass[];
// A plain overlapped window: caption, system menu, sizing frame, the three buttons.
constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

// Menu loops and move/size loops open at the moment; the frame clock stands
// still while it is positive.
extern int g_modalLoopCount;

// The outer window extent for a frame extent: frame + border, kept within
// what the platform's signed extents can hold.
int OuterWindowExtent(int frameExtent, int border);

// Reaches the one record through the process-wide pointer.
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
