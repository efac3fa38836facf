#include "main_window_fixture.h"

namespace {

class IdleLoop : public MainWindow {
  protected:
    // One half-second update with the keys held: the keys it saw (up, down,
    // left, right: 1 held) and the angles it left, or what failed.
    std::string UpdateHolding(int active, std::initializer_list<WORD> virtualKeys) {
        if (!HoldKeys(virtualKeys)) {
            return "the held keys never showed as down";
        }
        record_.appActive = active; // after the keys, which bring the window forward
        record_.elapsedTime = 0.5f;
        record_.keys[kKeyLeft] = 7; // must be overwritten
        if (record_.ApplicationRecord::UpdateFrame() != 0) {
            return "the update failed";
        }
        std::string seen = "keys ";
        for (int key : record_.keys) {
            seen += std::to_string(key);
        }
        return seen + ", angles " + std::to_string(record_.horizontalAngle) + " " +
               std::to_string(record_.verticalAngle);
    }
};

TEST_F(IdleLoop, HeldKeysTurnTheAnglesOfAnActiveViewerAndOppositeKeysCancel) {
    EXPECT_EQ("keys 0000, angles 0.000000 0.000000", UpdateHolding(0, {VK_LEFT, VK_UP}));
    EXPECT_EQ("keys 1010, angles 0.500000 0.500000", UpdateHolding(1, {VK_LEFT, VK_UP}));
    EXPECT_EQ("keys 1111, angles 0.500000 0.500000",
              UpdateHolding(1, {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}));
    ReleaseKeys();
    EXPECT_EQ("keys 0101, angles 0.000000 0.000000", UpdateHolding(1, {VK_RIGHT, VK_DOWN}));
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

} // namespace
