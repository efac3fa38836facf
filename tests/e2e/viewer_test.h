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

// The helpers below return an AssertionResult: checked where called, a failure names that line.
using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

// Ends the viewer as a user does, with Esc in its window.
inline AssertionResult EndWithEsc(ChildProcess& viewer, HWND window) {
    if (!Focus(window)) {
        return AssertionFailure() << "the viewer's window never came to the front";
    }
    PressKey(VK_ESCAPE);
    const long exitCode = viewer.WaitForExit();
    return exitCode == 0 ? AssertionSuccess() : AssertionFailure() << "exit code " << exitCode;
}

// Each test owns the raw frame file, the settings key and one viewer run, and leaves them as found.
class ViewerTest : public ::testing::Test {
  protected:
    // Starts the viewer on the frame and waits until the frame is on screen.
    AssertionResult StartOn(const Frame& frame, HWND& window) {
        if (!PlaceRawFrame(frame) || !viewer_.StartViewerWithTail()) {
            return AssertionFailure() << "cannot place the frame or start the viewer";
        }
        window = viewer_.WaitForMainWindow();
        if (window == nullptr) {
            return AssertionFailure() << "the main window never appeared";
        }
        if (!PollWithoutPumping(
                [&] { return CountFrameMismatches(CaptureClient(window), frame) == 0; })) {
            return AssertionFailure() << "the frame never showed on screen";
        }
        return AssertionSuccess();
    }

    // Waits for the viewer a running capture program starts, and takes it over as this test's.
    AssertionResult AdoptViewerStartedBy(ChildProcess& capture, HWND& window) {
        PollWithoutPumping([&] {
            window = FindWindowA("OX581_DX9 Class", "OrbiluxCap_KT5810");
            return window != nullptr || !capture.Running();
        });
        if (window == nullptr) {
            return AssertionFailure()
                   << "the capture program ended with " << capture.WaitForExit(0);
        }
        return viewer_.Adopt(window) ? AssertionSuccess() : AssertionFailure() << "cannot adopt";
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

    // The file name field: an edit in combo box 0x47c (Explorer layout), or edit 0x480 (old).
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

    // Checks the proposal, puts the target's path in its place (by a message:
    // typing tests the dialog's edit control, and may lose a key) and confirms.
    AssertionResult SaveThroughDialog(HWND window, const std::string& path) {
        HWND dialog = OpenSaveDialog(window);
        if (dialog == nullptr) {
            return AssertionFailure() << "the save dialog did not open";
        }
        if (!PollWithoutPumping([&] { return FileNameField(dialog) == "Image.bmp"; }) ||
            WindowText(GetDlgItem(dialog, 0x470)) != "BMP Files") {
            return AssertionFailure() << "proposed [" << FileNameField(dialog) << "] of type ["
                                      << WindowText(GetDlgItem(dialog, 0x470)) << "]";
        }
        SendMessageA(FileNameEdit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        if (!PollWithoutPumping([&] { return FileNameField(dialog) == path; })) {
            return AssertionFailure() << "entered [" << FileNameField(dialog) << "]";
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        return PollWithoutPumping([&] { return !IsWindow(dialog); })
                   ? AssertionSuccess()
                   : AssertionFailure() << "the dialog stayed open";
    }

    RawFrameFileGuard rawFrame_;
    SettingsKeyGuard settings_;
    ChildProcess viewer_;
};
