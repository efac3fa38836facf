#include "resources/resource_ids.h"
#include "support/menu_check.h"
#include "viewer_test.h"

namespace {

using ViewerWindow = ViewerTest;

// Opens the File menu with Alt+F and waits for its popup.
POINT FindCloseBox(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    for (int y = outer.top + 1; y < outer.top + 40; y += 3) {
        for (int x = outer.right - 2; x > outer.right - 80; x -= 3) {
            if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                return {x - 3, y + 3};
            }
        }
    }
    return {-1, -1};
}

TEST_F(ViewerWindow, HasItsClassCaptionOuterSizeAndMenu) {
    HWND window = StartOn(PatternFrame(320, 240));
    ASSERT_NE(nullptr, window);
    char name[64];
    GetClassNameA(window, name, sizeof(name));
    EXPECT_STREQ("OX581_DX9 Class", name);
    EXPECT_EQ("OrbiluxCap_KT5810", WindowText(window));
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(329, outer.right - outer.left);
    EXPECT_EQ(282, outer.bottom - outer.top);
    EXPECT_NE(nullptr, GetMenu(window)) << "the window has no menu bar";

    // Menus belong to their process: read the same resources from the program file.
    HMODULE program = LoadLibraryExA(ViewerPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program);
    HMENU menu = LoadMenuA(program, MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(nullptr, menu);
    ExpectViewerMenu(menu);
    DestroyMenu(menu);

    HACCEL table = LoadAcceleratorsA(program, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ACCEL entries[4];
    ASSERT_EQ(1, CopyAcceleratorTableA(table, entries, 4));
    EXPECT_EQ(VK_ESCAPE, entries[0].key);
    EXPECT_EQ(FVIRTKEY | FNOINVERT, entries[0].fVirt & ~0x80);
    EXPECT_EQ(IDM_FILE_EXIT, entries[0].cmd);

    // The icon group lists nine images: three sizes at 4, 8 and 32 bits.
    HRSRC group = FindResourceA(program, MAKEINTRESOURCEA(IDI_VIEWER_ICON), RT_GROUP_ICON);
    ASSERT_NE(nullptr, group);
    const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(program, group)));
    ASSERT_EQ(9, dir[4] | dir[5] << 8);
    std::vector<std::pair<int, int>> images;
    for (int i = 0; i < 9; ++i) {
        const BYTE* entry = dir + 6 + i * 14;
        images.push_back({entry[0], entry[6] | entry[7] << 8});
    }
    for (int size : {48, 32, 16}) {
        for (int bits : {4, 8, 32}) {
            EXPECT_NE(images.end(),
                      std::find(images.begin(), images.end(), std::make_pair(size, bits)))
                << size << "x" << size << " at " << bits << " bits";
        }
    }
    FreeLibrary(program);
}

TEST_F(ViewerWindow, ShowsTheFramePixelForPixel) {
    const Frame frame = PatternFrame(320, 240);
    HWND window = StartOn(frame);
    ASSERT_NE(nullptr, window);
    const ScreenShot client = CaptureClient(window);
    ASSERT_GE(client.height, 200);
    EXPECT_EQ(0, CountFrameMismatches(client, frame));
    EXPECT_EQ(frame.At(0, 0), client.At(0, 0)) << "top-left pixel";

    RECT outer;
    GetWindowRect(window, &outer);
    const ScreenShot whole = CaptureScreen(outer);
    CreateDirectoryA((BuildFolder() + "screenshots").c_str(), nullptr);
    EXPECT_TRUE(SaveScreenShot(whole, BuildFolder() + "screenshots\\viewer.png"));
}

TEST_F(ViewerWindow, AnEnlargedWindowShowsPlainBackgroundBeyondTheFrame) {
    const Frame frame = PatternFrame(160, 120);
    HWND window = StartOn(frame);
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(SetWindowPos(window, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER));
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    auto beyondIsPlain = [&] {
        const ScreenShot shot = CaptureClient(window);
        if (shot.width < 400 || shot.height < 300) {
            return false;
        }
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                if ((x >= frame.width || y >= frame.height) && shot.At(x, y) != background) {
                    return false;
                }
            }
        }
        return CountFrameMismatches(shot, frame) == 0;
    };
    EXPECT_TRUE(PollWithoutPumping(beyondIsPlain))
        << "the area beyond the frame is not the background";
}

TEST_F(ViewerWindow, EscapeEndsTheViewerAndDeletesTheRawFrame) {
    HWND window = StartOn(PatternFrame(200, 150));
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(Focus(window));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(0, viewer_.WaitForExit());
    EXPECT_FALSE(FileExists(RawFramePath()));
}

TEST_F(ViewerWindow, FileExitEndsTheViewer) {
    HWND window = StartOn(PatternFrame(200, 150));
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(OpenFileMenu(window));
    PressKey('X');
    EXPECT_EQ(0, viewer_.WaitForExit());
    EXPECT_FALSE(FileExists(RawFramePath()));
}

TEST_F(ViewerWindow, TheCloseBoxEndsTheViewer) {
    HWND window = StartOn(PatternFrame(200, 150));
    ASSERT_NE(nullptr, window);
    const POINT close = FindCloseBox(window);
    ASSERT_GE(close.x, 0) << "no close box in the caption";
    ClickAt(close.x, close.y);
    EXPECT_EQ(0, viewer_.WaitForExit());
    EXPECT_FALSE(FileExists(RawFramePath()));
}

} // namespace
