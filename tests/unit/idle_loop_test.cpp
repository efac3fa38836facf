#include "main_window_fixture.h"

namespace {

using IdleLoop = MainWindow;

TEST_F(IdleLoop, InactiveViewerIgnoresHeldKeys) {
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

TEST_F(IdleLoop, HeldKeysTurnTheAnglesAndOppositeKeysCancel) {
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

TEST_F(IdleLoop, IdlePassesSampleTheClockAndPace) {
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

TEST_F(IdleLoop, QuitEndsTheLoopBeforeAnyIdlePass) {
    PostQuitMessage(0);
    EXPECT_EQ(0, record_.RunIdleLoop());
    EXPECT_EQ(0, record_.renders);
    EXPECT_EQ(1, record_.shutdowns);
}

// True: the update fails; false: the render does.
class FailingHook : public MainWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(FailingHook, DestroysTheWindowAfterAFullPass) {
    CountDestroyMessages(record_.window);
    (GetParam() ? record_.updateStatus : record_.renderStatus) = kStatusFailure;
    EXPECT_EQ(0, record_.RunIdleLoop());
    EXPECT_EQ(1, record_.updates);
    EXPECT_EQ(1, record_.renders) << "the failing pass still renders";
    EXPECT_EQ(1, record_.shutdowns);
    EXPECT_EQ(1, g_destroyMessages);
}

INSTANTIATE_TEST_SUITE_P(UpdateOrRender, FailingHook, ::testing::Bool());

TEST_F(IdleLoop, EscapeGoesThroughTheAcceleratorToExit) {
    PostMessageA(record_.window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(0, record_.RunIdleLoop());
    EXPECT_EQ(1, record_.shutdowns);
    EXPECT_TRUE(IsWindow(record_.window)) << "exit posts the quit; it destroys nothing";
}

TEST_F(IdleLoop, CloseDestroysTheWindowAndQuits) {
    PostMessageA(record_.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, record_.RunIdleLoop());
    EXPECT_FALSE(IsWindow(record_.window));
}

} // namespace
