#pragma once

#include "resources/resource_ids.h"

#include <windows.h>

#include <gtest/gtest.h>

// The numbers the program is known by outside its own code: the capture
// program's users and tools find the menu, the table and the commands by
// them. Written out here once, so that a change in the shared header shows.
static_assert(IDI_VIEWER_ICON == 101 && IDR_ACCELERATORS == 113 && IDR_MAIN_MENU == 141,
              "the resource numbers are fixed");
static_assert(IDM_FILE_EXIT == 40006 && IDM_FILE_SAVE == 40014, "the command numbers are fixed");

// Checks a menu bar against the viewer's: one "&File" popup holding "Save"
// and "E&xit\t    ESC", in that order.
inline void ExpectViewerMenu(HMENU bar) {
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(1, GetMenuItemCount(bar));
    char text[64];
    GetMenuStringA(bar, 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("&File", text);
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(2, GetMenuItemCount(file));
    GetMenuStringA(file, 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("Save", text);
    EXPECT_EQ(static_cast<UINT>(IDM_FILE_SAVE), GetMenuItemID(file, 0));
    GetMenuStringA(file, 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("E&xit\t    ESC", text);
    EXPECT_EQ(static_cast<UINT>(IDM_FILE_EXIT), GetMenuItemID(file, 1));
}
