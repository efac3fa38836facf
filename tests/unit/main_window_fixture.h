#pragma once

// A record with its main window, as the viewer has it once up, for the window's and loop's tests.

#include "app/application_record.h"
#include "app/frame_clock.h"
#include "app/main_window.h"
#include "support/input.h"
#include "support/settings_key_guard.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <algorithm>

// Counts the hooks and lets a test make one fail; Shutdown stores nothing.
class ProbeRecord : public ApplicationRecord {
  public:
    HRESULT UpdateFrame() override {
        ++updates;
        return updateStatus < 0 ? updateStatus : ApplicationRecord::UpdateFrame();
    }
    HRESULT Render() override {
        ++renders;
        if (quitAfterRenders != 0 && renders == quitAfterRenders) {
            PostQuitMessage(0);
        }
        return renderStatus;
    }
    HRESULT Shutdown() override {
        ++shutdowns;
        return 0;
    }
    int updates = 0, renders = 0, shutdowns = 0;
    int quitAfterRenders = 0;
    HRESULT updateStatus = 0, renderStatus = 0;
};

// Counts the WM_DESTROY messages the window receives on their way to its own procedure.
inline int g_destroyMessages = 0;
inline LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ++g_destroyMessages;
    }
    return MainWindowProc(hwnd, message, wParam, lParam);
}
inline void CountDestroyMessages(HWND window) {
    g_destroyMessages = 0;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc));
}

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        g_moduleInstance = GetModuleHandleA(nullptr);
        g_modalLoopCount = 0;
        ASSERT_EQ(0, record_.CreateMainWindow(g_moduleInstance));
        ASSERT_NE(nullptr, record_.window);
        PumpMessages();
    }
    void TearDown() override {
        ReleaseKeys();
        if (IsWindow(record_.window)) {
            DestroyWindow(record_.window);
        }
        PumpMessages();
        g_modalLoopCount = 0;
    }

    LRESULT Send(UINT message, WPARAM wParam = 0) {
        return SendMessageA(record_.window, message, wParam, 0);
    }

    // Sends a modal loop's message: the count of open loops it leaves, and
    // whether the clock then stands still (two readings 60 ms apart agree).
    std::string After(UINT message) {
        Send(message);
        const float before = FrameClock(kClockAppTime);
        Sleep(60);
        const bool stopped = FrameClock(kClockAppTime) == before;
        return std::to_string(g_modalLoopCount) + (stopped ? " stopped" : " running");
    }

    static void ReleaseKeys() {
        for (WORD key : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}) {
            SendKey(key, false);
        }
    }
    // Presses keys until the asynchronous key state shows them all (as a held
    // key repeats): the first presses after a window appears can be lost.
    bool HoldKeys(std::initializer_list<WORD> virtualKeys) {
        return PollPumpingMessages([&] {
            if (GetForegroundWindow() != record_.window) {
                SetForegroundWindow(record_.window);
            }
            for (WORD key : virtualKeys) {
                SendKey(key, true);
            }
            Sleep(20);
            return std::all_of(virtualKeys.begin(), virtualKeys.end(),
                               [](WORD key) { return (GetAsyncKeyState(key) & 0x8000) != 0; });
        });
    }

    // The record reads the stored size when it is built: none is stored.
    SettingsKeyGuard settings_;
    ProbeRecord record_;
};
