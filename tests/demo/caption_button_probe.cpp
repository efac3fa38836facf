// Prints where a window of the viewer's style, WIDTH by HEIGHT, has its close
// button, as "left top right bottom" from its top-left corner.
#include "app/main_window.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "caption button probe";
    RegisterClassA(&windowClass); // a failure shows as no window
    // Never shown: the title bar follows from the style, the size and the metrics.
    HWND window =
        CreateWindowExA(0, windowClass.lpszClassName, "", kMainWindowStyle & ~WS_VISIBLE, 0, 0,
                        argc == 3 ? std::atoi(argv[1]) : 0, argc == 3 ? std::atoi(argv[2]) : 0,
                        nullptr, nullptr, windowClass.hInstance, nullptr);
    TITLEBARINFO bar = {};
    bar.cbSize = sizeof bar;
    RECT outer = {};
    if (argc != 3 || !GetTitleBarInfo(window, &bar) || !GetWindowRect(window, &outer)) {
        std::fprintf(stderr, "usage: caption_button_probe WIDTH HEIGHT, with a display\n");
        return 1;
    }
    // The close button ends the title bar, one caption button wide and tall.
    const long right = bar.rcTitleBar.right - outer.left, top = bar.rcTitleBar.top - outer.top;
    std::printf("%ld %ld %ld %ld\n", right - GetSystemMetrics(SM_CXSIZE), top, right,
                top + GetSystemMetrics(SM_CYSIZE));
    return 0;
}
