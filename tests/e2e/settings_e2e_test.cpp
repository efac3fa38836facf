#include "viewer_test.h"

namespace {

using Settings = ViewerTest;

TEST_F(Settings, ACleanAccountGetsTheKeyAtStartAndTheSizeAtExit) {
    ASSERT_FALSE(SettingsKeyExists());
    HWND window = StartOn(PatternFrame(320, 240));
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(SettingsKeyExists()) << "the key is made when the viewer starts";
    EXPECT_EQ("none", StoredSetting("Width"));
    EndWithEsc(viewer_, window);
    EXPECT_EQ("dword 320", StoredSetting("Width"));
    EXPECT_EQ("dword 240", StoredSetting("Height"));
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
    EndWithEsc(viewer_, window);
    EXPECT_EQ("dword 320", StoredSetting("Width"));
    EXPECT_EQ("dword 240", StoredSetting("Height"));
}

} // namespace
