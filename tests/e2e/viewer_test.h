#pragma once

#include "core/win32_handles.h"
#include "support/child_process.h"
#include "support/files.h"
#include "support/image_magick.h"
#include "support/input.h"
#include "support/polling.h"
#include "support/screen.h"
#include "support/settings_key_guard.h"
#include "support/window_text.h"

#include <gtest/gtest.h>

// Watches a started program until it ends (or the deadline passes): whether
// it showed a window of any kind on the way.
inline bool ShowsAWindowBeforeItEnds(ChildProcess& program) {
    bool showed = false;
    PollWithoutPumping([&] {
        showed = showed || program.FindWindowOf(nullptr, nullptr) != nullptr;
        return !program.Running();
    });
    return showed;
}

// Ends the viewer as a user does, with Esc in its window.
inline void EndWithEsc(ChildProcess& viewer, HWND window) {
    ASSERT_TRUE(Focus(window));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(0, viewer.WaitForExit());
}

// Each test owns the raw frame file, the settings key and one viewer run,
// and leaves all three as it found them.
class ViewerTest : public ::testing::Test {
  protected:
    void SetUp() override { DeleteFileA(RawFramePath().c_str()); }
    void TearDown() override { DeleteFileA(RawFramePath().c_str()); }

    // Starts the viewer on the frame and waits until the frame is on screen.
    HWND StartOn(const Frame& frame) {
        EXPECT_TRUE(PlaceRawFrame(frame));
        EXPECT_TRUE(viewer_.StartViewerWithTail());
        HWND window = viewer_.WaitForMainWindow();
        EXPECT_NE(nullptr, window) << "the main window never appeared";
        if (window != nullptr) {
            EXPECT_TRUE(PollWithoutPumping([&] {
                return CountFrameMismatches(CaptureClient(window), frame) == 0;
            })) << "the frame never showed on screen";
        }
        return window;
    }

    // Waits for the viewer that a running capture program starts, and takes
    // it over as this test's viewer; null when the capture program ends first.
    HWND AdoptViewerStartedBy(ChildProcess& capture) {
        HWND window = nullptr;
        EXPECT_TRUE(PollWithoutPumping([&] {
            window = FindWindowA("OX581_DX9 Class", "OrbiluxCap_KT5810");
            return window != nullptr || !capture.Running();
        }));
        EXPECT_NE(nullptr, window) << "the capture program ended with " << capture.WaitForExit(0);
        if (window != nullptr) {
            EXPECT_TRUE(viewer_.Adopt(window));
        }
        return window;
    }

    // Brings a window of the viewer to the front, the way a user would.
    static void Activate(HWND window) {
        if (!PollWithoutPumping([&] { return GetForegroundWindow() == window; }, 2000)) {
            SetForegroundWindow(window);
        }
        ASSERT_TRUE(PollWithoutPumping([&] { return GetForegroundWindow() == window; }, 5000));
    }

    // Opens the File menu as the user does: Alt+F in the focused window.
    bool OpenFileMenu(HWND window) {
        if (!Focus(window)) {
            return false;
        }
        PressKeyWith(VK_MENU, 'F');
        return viewer_.WaitForWindow("#32768", nullptr, 5000) != nullptr;
    }

    // File > Save, as the user picks it: Alt+F, then Enter on the first item.
    HWND OpenSaveDialog(HWND window) {
        if (!OpenFileMenu(window)) {
            return nullptr;
        }
        PressKey(VK_RETURN);
        return viewer_.WaitForWindow("#32770", "Save File");
    }

    // The file name field: an edit inside the combo box 0x47c in the Explorer
    // layout, the edit 0x480 in the old one.
    static HWND FileNameEdit(HWND dialog) {
        HWND field = GetDlgItem(dialog, 0x480);
        if (field == nullptr) {
            field = GetDlgItem(dialog, 0x47c);
            while (field != nullptr && !HasClass(field, "Edit")) {
                field = GetWindow(field, GW_CHILD);
            }
        }
        return field;
    }
    static std::string FileNameField(HWND dialog) {
        HWND field = FileNameEdit(dialog);
        return field == nullptr ? "" : WindowText(field);
    }

    // How the target's name gets into the dialog: typed as a user types it,
    // or set in the field by a message, which is quicker and immune to lost
    // key presses where the typing itself is not what is tested.
    enum class NameEntry { kTyped, kSet };

    // Checks the proposal, puts the target's path in its place and confirms.
    void SaveThroughDialog(HWND window, const std::string& path,
                           NameEntry entry = NameEntry::kSet) {
        HWND dialog = OpenSaveDialog(window);
        ASSERT_NE(nullptr, dialog) << "the save dialog did not open";
        EXPECT_TRUE(PollWithoutPumping([&] { return FileNameField(dialog) == "Image.bmp"; }))
            << "proposed [" << FileNameField(dialog) << "]";
        EXPECT_EQ("BMP Files", WindowText(GetDlgItem(dialog, 0x470))) << "the type filter";
        if (entry == NameEntry::kTyped) {
            Activate(dialog);
            PressKey(VK_END);
            PressKeyWith(VK_SHIFT, VK_HOME);
            TypeText(path);
        } else {
            SendMessageA(FileNameEdit(dialog), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(path.c_str()));
        }
        ASSERT_TRUE(PollWithoutPumping([&] { return FileNameField(dialog) == path; }))
            << "entered [" << FileNameField(dialog) << "]";
        if (entry == NameEntry::kTyped) {
            PressKey(VK_RETURN);
        } else {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        }
        ASSERT_TRUE(PollWithoutPumping([&] { return !IsWindow(dialog); }))
            << "the dialog stayed open";
    }

    SettingsKeyGuard settings_;
    ChildProcess viewer_;
};
