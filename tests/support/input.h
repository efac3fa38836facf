#pragma once

// Input as a user makes it, through the system's queue: to the focused window, of any process.

#include <windows.h>

void SendKey(WORD virtualKey, bool down);
void PressKey(WORD virtualKey);
void PressKeyWith(WORD modifier, WORD virtualKey);
void ClickAt(int x, int y); // screen coordinates
// Brings a window to the front, by a click in its client area where it has one; false if too late.
bool Focus(HWND window);
