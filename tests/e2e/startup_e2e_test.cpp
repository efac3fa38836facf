#include "viewer_test.h"

namespace {

using StartUp = ViewerTest;

bool HasVisibleIcon(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
        // The box keeps an icon control; with no icon asked for it holds none.
        if (IsWindowVisible(child) && (style & SS_TYPEMASK) == SS_ICON &&
            SendMessageA(child, STM_GETICON, 0, 0) != 0) {
            return true;
        }
    }
    return false;
}

TEST_F(StartUp, WithNothingAfterTheNameItRefusesInAPlainMessageBox) {
    const std::string quoted = "\"" + ViewerPath() + "\"";
    for (const std::string& line : {quoted, quoted + "  \t  ", ViewerPath() + "\t"}) {
        SCOPED_TRACE("command line [" + line + "]");
        RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKeyPath()); // made by the run before
        const Frame frame = PatternFrame(8, 8);
        ASSERT_TRUE(PlaceRawFrame(frame));
        ChildProcess viewer;
        ASSERT_TRUE(viewer.Start(line));
        HWND box = viewer.WaitForWindow("#32770", nullptr);
        ASSERT_NE(nullptr, box) << "no message box";
        EXPECT_EQ("Error", WindowText(box)) << "the box has no caption of its own";
        const auto texts = ChildTexts(box, "Static");
        EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(),
                                         "This application can not be used in this manner!"));
        EXPECT_EQ(std::vector<std::string>{"OK"}, ChildTexts(box, "Button"));
        EXPECT_FALSE(HasVisibleIcon(box));
        EXPECT_EQ(nullptr, viewer.FindWindowOf("OX581_DX9 Class", nullptr));

        ASSERT_TRUE(Focus(box));
        PressKey(VK_RETURN);
        EXPECT_EQ(0, viewer.WaitForExit());
        EXPECT_EQ(RawFrameBytes(frame), ReadFileBytes(RawFramePath()))
            << "a refused start must leave the raw frame file alone";
        EXPECT_TRUE(SettingsKeyExists()) << "the key is made at start, before the refusal";
        EXPECT_EQ("none", StoredSetting("Width"));
    }
}

} // namespace
