#include "capture/screen_capture.h"

#include "core/win32_handles.h"
#include "capture/wide_text.h"

#include <dwmapi.h>

namespace {

// The window's visible bounds as the desktop window manager draws them: on
// Windows 10 and 11 GetWindowRect also holds the invisible resize borders.
// dwmapi.dll is loaded from the system folder when asked, so the program
// still starts where it is missing; false where there is no such answer
// (no DWM, or none for this window), and the caller takes the rectangle.
bool VisibleBounds(HWND window, RECT& bounds) {
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(&path[0], MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    path.resize(length);
    const HMODULE dwm = LoadLibraryW((path + L"\\dwmapi.dll").c_str());
    if (dwm == nullptr) {
        return false;
    }
    using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    const auto get = reinterpret_cast<GetAttribute>(
        reinterpret_cast<void (*)()>(GetProcAddress(dwm, "DwmGetWindowAttribute")));
    const bool got = get != nullptr &&
                     SUCCEEDED(get(window, DWMWA_EXTENDED_FRAME_BOUNDS, &bounds, sizeof(bounds))) &&
                     bounds.right > bounds.left && bounds.bottom > bounds.top;
    FreeLibrary(dwm); // nothing of it is kept; a failure to unload changes nothing here
    return got;
}

} // namespace

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
    if (!VisibleBounds(window, rectangle) && !GetWindowRect(window, &rectangle)) {
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
