#include "viewer_test.h"

namespace {

using Settings = ViewerTest;

// The key is made at start (the start-up test's refusal shows it is made
// before anything else); how values are read, by the settings' unit test.
TEST_F(Settings, TheFramesSizeOverridesTheStoredOneAndIsStoredAtExit) {
    SetSettingsDword("Width", 800);
    SetSettingsDword("Height", 600);
    HWND window = nullptr;
    ASSERT_TRUE(StartOn(PatternFrame(320, 240), window));
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(329, outer.right - outer.left);
    EXPECT_EQ(282, outer.bottom - outer.top);
    EXPECT_EQ("dword 800", StoredSetting("Width")) << "stored before the exit";
    EXPECT_TRUE(EndWithEsc(viewer_, window));
    EXPECT_EQ("dword 320", StoredSetting("Width"));
    EXPECT_EQ("dword 240", StoredSetting("Height"));
}

} // namespace
