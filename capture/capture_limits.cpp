#include "capture/capture_limits.h"

#include "capture/capture_image.h"

#include <algorithm>

namespace {

// The rounded quotient, at least 1: a sliver of a picture keeps one row.
long long ScaledSide(long long side, long long to, long long from) {
    return std::max(1ll, (side * to + from / 2) / from);
}

} // namespace

bool PlanFrameSize(long long width, long long height, bool fit, const std::string& what,
                   int& frameWidth, int& frameHeight, std::string& reason) {
    if (width <= 0 || height <= 0) {
        reason = what + " is " + SizeText(width, height) + ": it has no pixels";
        return false;
    }
    // By division, so that no pair of sides can overflow the product.
    if (width > kMaxSourcePixels / height) {
        reason = what + " is " + SizeText(width, height) + ", more than " +
                 std::to_string(kMaxSourcePixels) + " pixels: too large to read";
        return false;
    }
    constexpr long long kWidth = kMaxCaptureWidth;
    constexpr long long kHeight = kMaxCaptureHeight;
    if (width <= kWidth && height <= kHeight) {
        frameWidth = static_cast<int>(width);
        frameHeight = static_cast<int>(height);
        return true;
    }
    if (!fit) {
        reason = what + " is " + SizeText(width, height) + ", larger than " +
                 SizeText(kWidth, kHeight) + "; --fit scales it down";
        return false;
    }
    // Each side is at most 2^28 now, so these products fit 64 bits.
    // Whichever side meets its limit first sets the scale.
    if (width * kHeight >= height * kWidth) {
        frameWidth = static_cast<int>(kWidth);
        frameHeight = static_cast<int>(ScaledSide(height, kWidth, width));
    } else {
        frameWidth = static_cast<int>(ScaledSide(width, kHeight, height));
        frameHeight = static_cast<int>(kHeight);
    }
    return true;
}

bool CheckPage(unsigned long page, unsigned long count, std::string& reason) {
    if (page >= 1 && page <= count) {
        return true;
    }
    reason = "there is no page " + std::to_string(page) + ": the file holds " +
             std::to_string(count) + (count == 1 ? " page" : " pages");
    return false;
}

bool CheckRegionOnDesktop(const ScreenArea& region, const ScreenArea& desktop,
                          std::string& reason) {
    if (region.width <= 0 || region.height <= 0) {
        reason = "the region is empty";
        return false;
    }
    if (region.x < desktop.x || region.y < desktop.y ||
        region.x + region.width > desktop.x + desktop.width ||
        region.y + region.height > desktop.y + desktop.height) {
        reason = "the region is not wholly on the desktop, which is " + AreaText(desktop);
        return false;
    }
    return true;
}

bool ClipToDesktop(const ScreenArea& window, const ScreenArea& desktop, ScreenArea& visible,
                   std::string& reason) {
    const long long left = std::max(window.x, desktop.x);
    const long long top = std::max(window.y, desktop.y);
    const long long right = std::min(window.x + window.width, desktop.x + desktop.width);
    const long long bottom = std::min(window.y + window.height, desktop.y + desktop.height);
    if (right <= left || bottom <= top) {
        reason = "the window " + AreaText(window) + " is not on the desktop, which is " +
                 AreaText(desktop);
        return false;
    }
    visible = {left, top, right - left, bottom - top};
    return true;
}

std::string SizeText(long long width, long long height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string AreaText(const ScreenArea& area) {
    return std::to_string(area.x) + "," + std::to_string(area.y) + "," +
           std::to_string(area.width) + "x" + std::to_string(area.height);
}
