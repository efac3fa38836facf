#pragma once

// Reading the windows and controls of another process.

#include <windows.h>

#include <string>
#include <vector>

// Sent as WM_GETTEXT: GetWindowTextA reads only captions of another process, not an edit's text.
std::string WindowText(HWND window);
bool HasClass(HWND window, const char* className); // ignoring case
// Texts of a window's visible child controls of one class, in z order.
std::vector<std::string> ChildTexts(HWND parent, const char* className);
