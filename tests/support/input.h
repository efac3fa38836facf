#pragma once

// Input as the user makes it, through the system's input queue: it reaches
// whichever window has the focus, in this process or another.

#include <windows.h>

void SendKey(WORD virtualKey, bool down);
void PressKey(WORD virtualKey);
void PressKeyWith(WORD modifier, WORD virtualKey);
void ClickAt(int x, int y); // screen coordinates
// Brings a top-level window to the front, with a click into its client area
// where it has one. False when it is not in front at the deadline.
bool Focus(HWND window);
