#include "capture/screen_capture.h"

#include "core/win32_handles.h"
#include "capture/wide_text.h"

ScreenArea VirtualDesktop() {
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

ScreenArea PrimaryScreen() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool FindWindowArea(const std::string& title, ScreenArea& area, std::string& reason) {
    HWND window = FindWindowW(nullptr, WideFromUtf8(title).c_str());
    if (window == nullptr || !IsWindowVisible(window)) {
        reason = "no such window on the desktop";
        return false;
    }
    if (IsIconic(window)) {
        reason = "the window is minimized";
        return false;
    }
    RECT rectangle;
    if (!GetWindowRect(window, &rectangle)) {
        reason = "the window went away";
        return false;
    }
    const ScreenArea whole = {rectangle.left, rectangle.top, rectangle.right - rectangle.left,
                              rectangle.bottom - rectangle.top};
    return ClipToDesktop(whole, VirtualDesktop(), area, reason);
}

bool GrabScreenArea(const ScreenArea& area, std::vector<unsigned char>& topFirstBgrx,
                    std::string& reason) {
    // The caller has kept the area to the desktop, so it fits an int.
    const int width = static_cast<int>(area.width);
    const int height = static_cast<int>(area.height);
    WindowDC screen(nullptr);
    if (screen.get() == nullptr) {
        reason = "cannot reach the screen";
        return false;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC memory(CreateCompatibleDC(screen.get()));
    if (bitmap.get() == nullptr || bits == nullptr || memory.get() == nullptr) {
        reason = "not enough memory for " + std::to_string(width) + "x" + std::to_string(height) +
                 " pixels";
        return false;
    }
    {
        Selection selected(memory.get(), bitmap.get());
        // CAPTUREBLT takes in layered windows, which are on screen too.
        if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), static_cast<int>(area.x),
                    static_cast<int>(area.y), SRCCOPY | CAPTUREBLT)) {
            reason = "cannot copy the screen's pixels";
            return false;
        }
    }
    GdiFlush(); // the copy must have landed before its bits are read
    const auto* first = static_cast<const unsigned char*>(bits);
    topFirstBgrx.assign(first, first + static_cast<std::size_t>(width) * height * 4);
    return true;
}
