#pragma once

#include <windows.h>

#include <gtest/gtest.h>

// Checks a menu bar against the viewer's: one "&File" popup holding "Save"
// (40014) and "E&xit\t    ESC" (40006), in that order. The numbers are
// written out so that a wrong id in the shared header shows too.
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
    EXPECT_EQ(40014u, GetMenuItemID(file, 0));
    GetMenuStringA(file, 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("E&xit\t    ESC", text);
    EXPECT_EQ(40006u, GetMenuItemID(file, 1));
}
