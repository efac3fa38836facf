#include "app/main_window.h"

#include "app/application_record.h"
#include "app/frame_clock.h"
#include "core/win32_handles.h"
#include "resources/resource_ids.h"

#include <climits>

const char kMainWindowClass[] = "OX581_DX9 Class";
int g_modalLoopCount = 0;

namespace {

// Room around the frame for the borders, the caption and the menu bar.
constexpr int kFrameBorderWidth = 9;
constexpr int kFrameBorderHeight = 42;

void DrawLoadingText(HWND hwnd) {
    WindowDC dc(hwnd);
    if (dc.get() == nullptr) {
        return;
    }
    char text[64];
    wsprintfA(text, "Loading... Please wait");
    RECT client;
    if (!GetClientRect(hwnd, &client)) {
        return;
    }
    DrawTextA(dc.get(), text, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void EnterModalLoop() {
    ++g_modalLoopCount;
    if (g_modalLoopCount == 1) {
        FrameClock(kClockStop);
    }
    // Back at 0 after a stray exit: the clock was never stopped for this one.
    if (g_modalLoopCount == 0) {
        FrameClock(kClockStart);
    }
}

void ExitModalLoop() {
    --g_modalLoopCount;
    if (g_modalLoopCount == 0) {
        FrameClock(kClockStart);
    }
}

} // namespace

int OuterWindowExtent(int frameExtent, int border) {
    const long long extent = static_cast<long long>(frameExtent) + border;
    return extent > INT_MAX ? INT_MAX : static_cast<int>(extent);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_applicationRecord == nullptr) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return g_applicationRecord->HandleMessage(hwnd, message, wParam, lParam);
}

HRESULT ApplicationRecord::CreateMainWindow(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = kMainWindowClass;
    // Not examined: a class that stays registered from an earlier window
    // still serves, and a real failure shows when the window is created.
    RegisterClassA(&windowClass);

    // Without the menu the window is still usable: Esc ends the viewer.
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAIN_MENU));

    HWND created = CreateWindowExA(
        0, kMainWindowClass, windowTitle, kMainWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
        OuterWindowExtent(width, kFrameBorderWidth), OuterWindowExtent(height, kFrameBorderHeight),
        nullptr, menu, instance, nullptr);
    if (created == nullptr) {
        if (menu != nullptr) {
            DestroyMenu(menu);
        }
        return kStatusFailure;
    }

    window = created;
    // Once the window exists nothing here can fail the start: the paint,
    // the clock and the hook each leave the window usable whatever they do.
    UpdateWindow(window);
    FrameClock(kClockStart);
    OnWindowCreated();
    return 0;
}

LRESULT ApplicationRecord::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_PAINT:
        // The picture itself is drawn by the idle loop, never here.
        if (showLoadingText) {
            DrawLoadingText(hwnd);
        }
        break;
    case WM_ACTIVATEAPP:
        appActive = static_cast<BOOL>(wParam);
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_FILE_EXIT:
            PostQuitMessage(0);
            break;
        case IDM_FILE_SAVE:
            SaveAsBmp();
            break;
        default:
            break;
        }
        break;
    case WM_ENTERMENULOOP:
    case WM_ENTERSIZEMOVE:
        EnterModalLoop();
        break;
    case WM_EXITMENULOOP:
    case WM_EXITSIZEMOVE:
        ExitModalLoop();
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
