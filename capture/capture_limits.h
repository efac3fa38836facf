#pragma once

// What a source may become as a frame: the size checks, the --fit
// arithmetic, the page choice and the checks of a desktop rectangle. Plain
// values in and out, so the tests and any build can call them directly.

#include <string>

// A rectangle of the desktop, in screen pixels. x and y may be negative
// where a monitor lies left of or above the primary one.
struct ScreenArea {
    long long x = 0;
    long long y = 0;
    long long width = 0;
    long long height = 0;
};

// The most pixels any source may have, with --fit or without: the decoders
// hold a whole picture in memory, and beyond this their 32-bit arithmetic
// and a 32-bit process's memory give out.
constexpr long long kMaxSourcePixels = 1ll << 28;

// The frame size for a picture or screen area of width x height. As it is
// when it fits 1280x1024; with fit, larger ones shrink, keeping their aspect
// ratio, to the largest size that fits (each side at least 1). Refused, with
// a reason naming the size and what, when a side is zero or negative, when
// it has more than kMaxSourcePixels, or when it is too large without fit.
bool PlanFrameSize(long long width, long long height, bool fit, const std::string& what,
                   int& frameWidth, int& frameHeight, std::string& reason);

// page counts from 1; count is how many the file holds.
bool CheckPage(unsigned long page, unsigned long count, std::string& reason);

// A region must lie wholly on the desktop and hold at least one pixel.
bool CheckRegionOnDesktop(const ScreenArea& region, const ScreenArea& desktop, std::string& reason);

// The part of a window's rectangle that is on the desktop; refused when
// nothing of it is.
bool ClipToDesktop(const ScreenArea& window, const ScreenArea& desktop, ScreenArea& visible,
                   std::string& reason);

// "WxH", as messages give a size.
std::string SizeText(long long width, long long height);

// "X,Y,WxH", as the command line takes a region.
std::string AreaText(const ScreenArea& area);
