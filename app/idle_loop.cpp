#include "app/application_record.h"

#include "app/frame_clock.h"
#include "resources/resource_ids.h"

namespace {

constexpr DWORD kIdlePassSleepMs = 20;

float Advance(float angle, int increase, int decrease, float step) {
    if (increase && !decrease) {
        return angle + step;
    }
    if (decrease && !increase) {
        return angle - step;
    }
    return angle;
}

} // namespace

int ApplicationRecord::RunIdleLoop() {
    // Not tested: without the table Esc does nothing, and File > Exit still works.
    HACCEL accelerators = LoadAcceleratorsA(g_moduleInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));

    MSG message = {};
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            // -1 (an error) is not the quit message and goes on like a message.
            if (GetMessageA(&message, nullptr, 0, 0) == 0) {
                break;
            }
            if (!TranslateAcceleratorA(window, accelerators, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            continue;
        }

        appTime = FrameClock(kClockAppTime);
        elapsedTime = FrameClock(kClockElapsedTime);
        if (UpdateFrame() < 0) {
            SendMessageA(window, WM_DESTROY, 0, 0);
        }
        if (Render() < 0) {
            SendMessageA(window, WM_DESTROY, 0, 0);
        }
        Sleep(kIdlePassSleepMs);
    }

    Shutdown(); // its result changes nothing: the viewer is ending either way
    return static_cast<int>(message.wParam);
}

HRESULT ApplicationRecord::UpdateFrame() {
    SampleArrowKeys(keys);
    horizontalAngle = Advance(horizontalAngle, keys[kKeyLeft], keys[kKeyRight], elapsedTime);
    verticalAngle = Advance(verticalAngle, keys[kKeyUp], keys[kKeyDown], elapsedTime);
    return 0;
}

void ApplicationRecord::SampleArrowKeys(int* keyStates) {
    static const int kVirtualKeys[kArrowKeyCount] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT};
    for (int i = 0; i < kArrowKeyCount; ++i) {
        // An inactive viewer does not look at the keyboard at all.
        keyStates[i] = appActive && (GetAsyncKeyState(kVirtualKeys[i]) & 0x8000) != 0 ? 1 : 0;
    }
}
