#include "viewer_test.h"

namespace {

using Settings = ViewerTest;

void ExitNormally(ChildProcess& viewer, HWND window) {
    ASSERT_TRUE(Focus(window));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(0, viewer.WaitForExit());
}

TEST_F(Settings, ACleanAccountGetsTheKeyAtStartAndTheSizeAtExit) {
    ASSERT_FALSE(SettingsKeyExists());
    HWND window = StartOn(PatternFrame(320, 240));
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(SettingsKeyExists()) << "the key is made when the viewer starts";
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), ReadSettingsValue("Width").type);
    ExitNormally(viewer_, window);
    EXPECT_TRUE(ReadSettingsValue("Width").IsDword(320));
    EXPECT_TRUE(ReadSettingsValue("Height").IsDword(240));
}

TEST_F(Settings, AnEarlyEndCreatesTheKeyAndStoresNothing) {
    {
        ChildProcess refused;
        ASSERT_TRUE(refused.Start("\"" + ViewerPath() + "\""));
        HWND box = refused.WaitForWindow("#32770", nullptr);
        ASSERT_NE(nullptr, box);
        Activate(box);
        PressKey(VK_RETURN);
        EXPECT_EQ(0, refused.WaitForExit());
        EXPECT_TRUE(SettingsKeyExists());
        EXPECT_EQ(static_cast<DWORD>(REG_NONE), ReadSettingsValue("Width").type);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, SettingsKeyPath());
    ChildProcess withoutFrame;
    ASSERT_TRUE(withoutFrame.StartViewerWithTail());
    EXPECT_EQ(0, withoutFrame.WaitForExit());
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), ReadSettingsValue("Width").type);
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), ReadSettingsValue("Height").type);
}

TEST_F(Settings, TheFramesSizeOverridesTheStoredOne) {
    SetSettingsDword("Width", 800);
    SetSettingsDword("Height", 600);
    HWND window = StartOn(PatternFrame(320, 240));
    ASSERT_NE(nullptr, window);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(329, outer.right - outer.left);
    EXPECT_EQ(282, outer.bottom - outer.top);
    ExitNormally(viewer_, window);
    EXPECT_TRUE(ReadSettingsValue("Width").IsDword(320));
    EXPECT_TRUE(ReadSettingsValue("Height").IsDword(240));
}

TEST_F(Settings, AStringWidthIsIgnoredAndReplacedByTheViewedSize) {
    const char text[] = "1234567 pixels";
    SetSettingsValue("Width", REG_SZ, text, sizeof(text));
    HWND window = StartOn(PatternFrame(200, 100));
    ASSERT_NE(nullptr, window);
    ExitNormally(viewer_, window);
    EXPECT_TRUE(ReadSettingsValue("Width").IsDword(200));
    EXPECT_TRUE(ReadSettingsValue("Height").IsDword(100));
}

} // namespace
