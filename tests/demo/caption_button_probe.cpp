// Prints where a window of the viewer's style, as wide and tall as the
// arguments say, has its close button, as "left top right bottom" from the
// window's top-left corner: the demo test looks for the cross there,
// wherever this Wine release draws it.
#include "app/main_window.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int width = argc == 3 ? std::atoi(argv[1]) : 0;
    const int height = argc == 3 ? std::atoi(argv[2]) : 0;
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "usage: caption_button_probe WIDTH HEIGHT\n");
        return 2;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "caption button probe";
    if (RegisterClassA(&windowClass) == 0) {
        std::fprintf(stderr, "RegisterClassA failed: %lu\n", GetLastError());
        return 1;
    }
    // Never shown: the title bar's place follows from the style and the metrics.
    HWND window =
        CreateWindowExA(0, windowClass.lpszClassName, "probe", kMainWindowStyle & ~WS_VISIBLE, 0, 0,
                        width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    TITLEBARINFO titleBar = {};
    titleBar.cbSize = sizeof titleBar;
    RECT outer = {};
    if (window == nullptr || !GetTitleBarInfo(window, &titleBar) ||
        !GetWindowRect(window, &outer)) {
        std::fprintf(stderr, "no title bar information: %lu\n", GetLastError());
        return 1;
    }
    // The close button ends the title bar: one caption button wide and tall.
    const long right = titleBar.rcTitleBar.right - outer.left;
    const long top = titleBar.rcTitleBar.top - outer.top;
    std::printf("%ld %ld %ld %ld\n", right - GetSystemMetrics(SM_CXSIZE), top, right,
                top + GetSystemMetrics(SM_CYSIZE));
    DestroyWindow(window); // ignored: the process ends here
    return 0;
}
