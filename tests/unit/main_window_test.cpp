#include "app/application_record.h"
#include "app/frame_clock.h"
#include "app/main_window.h"
#include "support/menu_check.h"
#include "support/test_window.h"
#include "support/settings_key_guard.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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
    int updates = 0;
    int renders = 0;
    int shutdowns = 0;
    int quitAfterRenders = 0;
    HRESULT updateStatus = 0;
    HRESULT renderStatus = 0;
};

// Counts the WM_DESTROY messages the window receives on their way to its
// own procedure.
int g_destroyMessages = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ++g_destroyMessages;
    }
    return MainWindowProc(hwnd, message, wParam, lParam);
}
void CountDestroyMessages(HWND window) {
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
        DrainMessages();
    }
    void TearDown() override {
        ReleaseKeys();
        if (IsWindow(record_.window)) {
            DestroyWindow(record_.window);
        }
        DrainMessages();
        g_modalLoopCount = 0;
    }

    LRESULT Send(UINT message, WPARAM wParam = 0) {
        return SendMessageA(record_.window, message, wParam, 0);
    }

    // The clock stands still when two readings 60 ms apart agree.
    static bool ClockStopped() {
        const float before = FrameClock(kClockAppTime);
        Sleep(60);
        return FrameClock(kClockAppTime) == before;
    }

    static void Key(WORD virtualKey, bool down) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof(input));
    }
    static void ReleaseKeys() {
        for (WORD key : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}) {
            Key(key, false);
        }
    }
    // Presses keys and waits until the asynchronous key state shows them all.
    // Right after a window appears the first presses can be lost, so the
    // window is brought forward and the presses repeated (as a held key's
    // auto-repeat would) until they show.
    void HoldKeys(std::initializer_list<WORD> virtualKeys) {
        ASSERT_TRUE(PollUntil([&] {
            if (GetForegroundWindow() != record_.window) {
                SetForegroundWindow(record_.window);
            }
            for (WORD key : virtualKeys) {
                Key(key, true);
            }
            Sleep(20);
            for (WORD key : virtualKeys) {
                if ((GetAsyncKeyState(key) & 0x8000) == 0) {
                    return false;
                }
            }
            return true;
        })) << "the held keys never showed as down";
    }

    // The record reads the stored size when it is built: none is stored.
    SettingsKeyGuard settings_;
    ProbeRecord record_;
};

TEST_F(MainWindow, HasItsClassCaptionSizeAndMenu) {
    char text[128];
    GetClassNameA(record_.window, text, sizeof(text));
    EXPECT_STREQ("OX581_DX9 Class", text);
    GetWindowTextA(record_.window, text, sizeof(text));
    EXPECT_STREQ("OrbiluxCap_KT5810", text);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW | WS_VISIBLE),
              GetWindowLongPtrA(record_.window, GWL_STYLE) & (WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_DBLCLKS), GetClassLongPtrA(record_.window, GCL_STYLE));

    RECT outer;
    GetWindowRect(record_.window, &outer);
    EXPECT_EQ(649, outer.right - outer.left);
    EXPECT_EQ(522, outer.bottom - outer.top);

    ExpectViewerMenu(GetMenu(record_.window));

    EXPECT_EQ(0, record_.showLoadingText) << "the loading paint is over once the window is up";
}

TEST_F(MainWindow, PaintsTheLoadingTextOnlyWhileAsked) {
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    RECT client;
    GetClientRect(record_.window, &client);
    auto textPixels = [&] {
        int count = 0;
        for (int y = client.bottom / 2 - 8; y < client.bottom / 2 + 8; ++y) {
            for (int x = client.right / 2 - 80; x < client.right / 2 + 80; ++x) {
                count += WindowPixel(record_.window, x, y) != background;
            }
        }
        return count;
    };
    FillClient(record_.window, background);
    Send(WM_PAINT);
    EXPECT_EQ(0, textPixels()) << "painted text with showLoadingText off";
    record_.showLoadingText = 1;
    Send(WM_PAINT);
    EXPECT_GT(textPixels(), 50) << "no loading text in the middle of the window";
}

TEST_F(MainWindow, ActivationIsRecorded) {
    Send(WM_ACTIVATEAPP, TRUE);
    EXPECT_EQ(1, record_.appActive);
    Send(WM_ACTIVATEAPP, FALSE);
    EXPECT_EQ(0, record_.appActive);
}

TEST_F(MainWindow, ModalLoopsStopTheClockUntilTheOutermostEnds) {
    ASSERT_FALSE(ClockStopped());
    Send(WM_ENTERMENULOOP);
    EXPECT_EQ(1, g_modalLoopCount);
    EXPECT_TRUE(ClockStopped());
    Send(WM_ENTERSIZEMOVE);
    EXPECT_EQ(2, g_modalLoopCount);
    Send(WM_EXITSIZEMOVE);
    EXPECT_EQ(1, g_modalLoopCount);
    EXPECT_TRUE(ClockStopped()) << "an inner loop's end restarted the clock";
    Send(WM_EXITMENULOOP);
    EXPECT_EQ(0, g_modalLoopCount);
    EXPECT_FALSE(ClockStopped());

    Send(WM_ENTERSIZEMOVE);
    EXPECT_TRUE(ClockStopped());
    Send(WM_EXITSIZEMOVE);
    EXPECT_FALSE(ClockStopped());
}

TEST_F(MainWindow, AStrayExitLeavesMinusOneAndTheNextEnterStartsTheClock) {
    FrameClock(kClockStop);
    Send(WM_EXITMENULOOP);
    EXPECT_EQ(-1, g_modalLoopCount);
    EXPECT_TRUE(ClockStopped()) << "only a return to zero may start the clock";
    Send(WM_ENTERMENULOOP);
    EXPECT_EQ(0, g_modalLoopCount);
    EXPECT_FALSE(ClockStopped());
}

TEST_F(MainWindow, ApplicationTimeExcludesAnOpenMenu) {
    FrameClock(kClockElapsedTime);
    const float before = FrameClock(kClockAppTime);
    Send(WM_ENTERMENULOOP);
    Sleep(500);
    Send(WM_EXITMENULOOP);
    const float elapsed = FrameClock(kClockElapsedTime);
    const float advanced = FrameClock(kClockAppTime) - before;
    EXPECT_LT(advanced, 0.25f);
    EXPECT_LT(elapsed, 0.25f) << "the first elapsed time after the menu counted the menu";
}

TEST_F(MainWindow, InactiveViewerIgnoresHeldKeys) {
    HoldKeys({VK_LEFT, VK_UP});
    record_.appActive = 0;
    record_.elapsedTime = 0.5f;
    record_.keys[kKeyLeft] = 7; // must be overwritten with 0
    ASSERT_EQ(0, record_.ApplicationRecord::UpdateFrame());
    for (int key : record_.keys) {
        EXPECT_EQ(0, key);
    }
    EXPECT_EQ(0.0f, record_.horizontalAngle);
    EXPECT_EQ(0.0f, record_.verticalAngle);
}

TEST_F(MainWindow, HeldKeysTurnTheAnglesAndOppositeKeysCancel) {
    record_.appActive = 1;
    record_.elapsedTime = 0.5f;
    HoldKeys({VK_LEFT, VK_UP});
    record_.ApplicationRecord::UpdateFrame();
    EXPECT_EQ(1, record_.keys[kKeyLeft]);
    EXPECT_EQ(1, record_.keys[kKeyUp]);
    EXPECT_EQ(0, record_.keys[kKeyRight]);
    EXPECT_FLOAT_EQ(0.5f, record_.horizontalAngle);
    EXPECT_FLOAT_EQ(0.5f, record_.verticalAngle);

    HoldKeys({VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN});
    record_.ApplicationRecord::UpdateFrame();
    EXPECT_EQ(1, record_.keys[kKeyRight]);
    EXPECT_EQ(1, record_.keys[kKeyDown]);
    EXPECT_FLOAT_EQ(0.5f, record_.horizontalAngle);
    EXPECT_FLOAT_EQ(0.5f, record_.verticalAngle);

    ReleaseKeys();
    HoldKeys({VK_RIGHT, VK_DOWN});
    record_.ApplicationRecord::UpdateFrame();
    EXPECT_FLOAT_EQ(0.0f, record_.horizontalAngle);
    EXPECT_FLOAT_EQ(0.0f, record_.verticalAngle);
}

TEST_F(MainWindow, IdlePassesSampleTheClockAndPace) {
    record_.quitAfterRenders = 4;
    const DWORD start = GetTickCount();
    EXPECT_EQ(0, record_.RunIdleLoop());
    EXPECT_EQ(4, record_.updates);
    EXPECT_EQ(4, record_.renders);
    EXPECT_EQ(1, record_.shutdowns);
    // Three sleeps of 20 ms lie between the four passes; the tick is coarse.
    EXPECT_GE(GetTickCount() - start, 40u);
    EXPECT_GT(record_.appTime, 0.05f);
    EXPECT_GT(record_.elapsedTime, 0.015f);
}

TEST_F(MainWindow, QuitEndsTheLoopBeforeAnyIdlePass) {
    PostQuitMessage(0);
    EXPECT_EQ(0, record_.RunIdleLoop());
    EXPECT_EQ(0, record_.renders);
    EXPECT_EQ(1, record_.shutdowns);
}

TEST_F(MainWindow, AFailingUpdateDestroysTheWindowAfterAFullPass) {
    CountDestroyMessages(record_.window);
    record_.updateStatus = kStatusFailure;
    EXPECT_EQ(0, record_.RunIdleLoop());
    EXPECT_EQ(1, record_.updates);
    EXPECT_EQ(1, record_.renders) << "the failing pass still renders";
    EXPECT_EQ(1, record_.shutdowns);
    EXPECT_EQ(1, g_destroyMessages);
}

TEST_F(MainWindow, AFailingRenderEndsTheLoopTheSameWay) {
    CountDestroyMessages(record_.window);
    record_.renderStatus = -1;
    EXPECT_EQ(0, record_.RunIdleLoop());
    EXPECT_EQ(1, record_.renders);
    EXPECT_EQ(1, record_.shutdowns);
    EXPECT_EQ(1, g_destroyMessages);
}

TEST_F(MainWindow, EscapeGoesThroughTheAcceleratorToExit) {
    PostMessageA(record_.window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(0, record_.RunIdleLoop());
    EXPECT_EQ(1, record_.shutdowns);
    EXPECT_TRUE(IsWindow(record_.window)) << "exit posts the quit; it destroys nothing";
}

TEST_F(MainWindow, CloseDestroysTheWindowAndQuits) {
    PostMessageA(record_.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, record_.RunIdleLoop());
    EXPECT_FALSE(IsWindow(record_.window));
}

TEST_F(MainWindow, OuterExtentCannotOverflow) {
    EXPECT_EQ(649, OuterWindowExtent(640, 9));
    EXPECT_EQ(0x7FFFFFFF, OuterWindowExtent(0x7FFFFFFF, 42));
}

} // namespace
