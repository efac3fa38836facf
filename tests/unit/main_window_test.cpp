#include "main_window_fixture.h"
#include "resources/resource_ids.h"

namespace {

TEST_F(MainWindow, HasItsClassCaptionSizeAndMenu) {
    char text[128];
    GetClassNameA(record_.window, text, sizeof(text));
    EXPECT_STREQ("OX581_DX9 Class", text);
    GetWindowTextA(record_.window, text, sizeof(text));
    EXPECT_STREQ("OrbiluxCap_KT5810", text);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW | WS_VISIBLE),
              GetWindowLongPtrA(record_.window, GWL_STYLE) & (WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_DBLCLKS), GetClassLongPtrA(record_.window, GCL_STYLE));
    EXPECT_NE(nullptr, GetMenu(record_.window)) << "no menu bar";

    RECT outer;
    GetWindowRect(record_.window, &outer);
    EXPECT_EQ(649, outer.right - outer.left);
    EXPECT_EQ(522, outer.bottom - outer.top);

    // The menu's and table's numbers are read from the program file; here,
    // the flag the file check cannot read: Esc does not flash the menu.
    ACCEL entries[4];
    HACCEL table = LoadAcceleratorsA(g_moduleInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_EQ(1, CopyAcceleratorTableA(table, entries, 4));
    EXPECT_EQ(FVIRTKEY | FNOINVERT, entries[0].fVirt & ~0x80) << "the table's flags";

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

// What a stopped and restarted clock then reads is the clock's own test.
TEST_F(MainWindow, ModalLoopsStopTheClockUntilTheOutermostEnds) {
    ASSERT_EQ("0 running", After(WM_NULL));
    EXPECT_EQ("1 stopped", After(WM_ENTERMENULOOP));
    EXPECT_EQ("2 stopped", After(WM_ENTERSIZEMOVE));
    EXPECT_EQ("1 stopped", After(WM_EXITSIZEMOVE)) << "an inner loop's end";
    EXPECT_EQ("0 running", After(WM_EXITMENULOOP));
    EXPECT_EQ("1 stopped", After(WM_ENTERSIZEMOVE));
    EXPECT_EQ("0 running", After(WM_EXITSIZEMOVE));
    // A stray exit: only a return to zero may start the clock.
    FrameClock(kClockStop);
    EXPECT_EQ("-1 stopped", After(WM_EXITMENULOOP));
    EXPECT_EQ("0 running", After(WM_ENTERMENULOOP));
}

} // namespace
