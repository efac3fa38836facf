#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Writes 24-bit pixels (COLORREF, rows top first) as a PNG with stored,
// uncompressed deflate blocks: no library needed, and any viewer reads it.
bool WritePng(const std::string& path, int width, int height, const std::vector<COLORREF>& pixels);
