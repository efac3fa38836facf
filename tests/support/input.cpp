#include "support/input.h"

#include "support/polling.h"
#include "support/screen.h"

void SendKey(WORD virtualKey, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, 0));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
}

void PressKey(WORD virtualKey) {
    SendKey(virtualKey, true);
    SendKey(virtualKey, false);
}

void PressKeyWith(WORD modifier, WORD virtualKey) {
    SendKey(modifier, true);
    PressKey(virtualKey);
    SendKey(modifier, false);
}

void ClickAt(int x, int y) {
    INPUT inputs[3] = {};
    const DWORD actions[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        inputs[i].mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        inputs[i].mi.dwFlags = actions[i] | MOUSEEVENTF_ABSOLUTE;
    }
    SendInput(3, inputs, sizeof(INPUT));
}

bool Focus(HWND window) {
    // A window of a frame a few rows high has no client area below its menu bar, where a click
    // would open the menu, and a click on the caption starts a move: it is asked forward instead.
    const RECT client = ScreenRectOfClient(window);
    if (client.right - client.left >= 4 && client.bottom - client.top >= 4) {
        ClickAt(client.left + 2, client.top + 2);
    } else {
        SetForegroundWindow(window);
    }
    auto inFront = [&] { return GetForegroundWindow() == window; };
    if (!PollWithoutPumping(inFront, 3000)) {
        SetForegroundWindow(window);
    }
    return PollWithoutPumping(inFront, 5000);
}
