#include "viewer_harness.h"

#include "frame/little_endian.h"

#include <cstring>

namespace {

struct FindContext {
    DWORD processId;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<FindContext*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != context->processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    char text[256];
    if (context->className != nullptr) {
        GetClassNameA(window, text, sizeof(text));
        if (std::strcmp(text, context->className) != 0) {
            return TRUE;
        }
    }
    if (context->title != nullptr && WindowText(window) != context->title) {
        return TRUE;
    }
    context->found = window;
    return FALSE;
}

void SendKey(WORD virtualKey, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, 0));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
}

} // namespace

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) {
            return done();
        }
        Sleep(20);
    }
    return true;
}

COLORREF Frame::At(int x, int y) const {
    const BYTE* p = &topFirst[(static_cast<size_t>(y) * width + x) * 3];
    return RGB(p[2], p[1], p[0]);
}

Frame PatternFrame(int width, int height) {
    Frame frame;
    frame.width = width;
    frame.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            frame.topFirst.push_back(static_cast<BYTE>(x * 3 + y));       // blue
            frame.topFirst.push_back(static_cast<BYTE>(y * 5 + x / 7));   // green
            frame.topFirst.push_back(static_cast<BYTE>(255 - x - y * 2)); // red
        }
    }
    return frame;
}

std::vector<BYTE> RawFrameBytes(const Frame& frame) {
    std::vector<BYTE> raw = {'T', 'E', 'S', 'T', 'F', 'R', 'A', 'M', 'E', 0, 0, 0, 0, 0, 0, 0};
    for (int value : {frame.width, frame.height}) {
        for (int shift = 0; shift < 32; shift += 8) {
            raw.push_back(static_cast<BYTE>(static_cast<DWORD>(value) >> shift));
        }
    }
    const size_t rowBytes = static_cast<size_t>(frame.width) * 3;
    for (int y = frame.height - 1; y >= 0; --y) {
        const auto row = frame.topFirst.begin() + y * rowBytes;
        raw.insert(raw.end(), row, row + rowBytes);
    }
    return raw;
}

Frame FrameFromRawBytes(const std::vector<BYTE>& raw) {
    Frame frame;
    frame.width = ReadInt32LE(&raw[16]);
    frame.height = ReadInt32LE(&raw[20]);
    const size_t rowBytes = static_cast<size_t>(frame.width) * 3;
    for (int y = frame.height - 1; y >= 0; --y) {
        const auto row = raw.begin() + 24 + y * rowBytes;
        frame.topFirst.insert(frame.topFirst.end(), row, row + rowBytes);
    }
    return frame;
}

namespace {
void Put32(std::vector<BYTE>& out, DWORD value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<BYTE>(value >> (8 * i)));
    }
}
} // namespace

std::vector<BYTE> BmpFileBytes(const Frame& frame, bool topDown) {
    const DWORD rowBytes = frame.width * 3;
    const DWORD stride = (rowBytes + 3) / 4 * 4;
    std::vector<BYTE> out = {'B', 'M'};
    Put32(out, 54 + stride * frame.height);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, frame.width);
    Put32(out, topDown ? static_cast<DWORD>(-frame.height) : frame.height);
    out.insert(out.end(), {1, 0, 24, 0});
    for (int i = 0; i < 6; ++i) {
        Put32(out, 0);
    }
    for (int i = 0; i < frame.height; ++i) {
        const int y = topDown ? i : frame.height - 1 - i;
        const auto row = frame.topFirst.begin() + y * rowBytes;
        out.insert(out.end(), row, row + rowBytes);
        out.insert(out.end(), stride - rowBytes, 0);
    }
    return out;
}

bool PlaceRawFrame(const Frame& frame) {
    return WriteFileBytes(RawFramePath(), RawFrameBytes(frame));
}

ViewerProcess::~ViewerProcess() {
    if (info_.hProcess == nullptr) {
        return;
    }
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    if (info_.hThread != nullptr) {
        CloseHandle(info_.hThread);
    }
    CloseHandle(info_.hProcess);
}

bool ViewerProcess::Start(const std::string& commandLine, const std::string& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info_) != FALSE;
}

bool ViewerProcess::Adopt(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    info_.hProcess =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
    info_.dwProcessId = processId;
    return info_.hProcess != nullptr;
}

bool ViewerProcess::StartWithTail(const std::string& tail) {
    return Start("\"" + ViewerPath() + "\" " + tail);
}

long ViewerProcess::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

bool ViewerProcess::Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND ViewerProcess::FindWindowOf(const char* className, const char* title) const {
    FindContext context = {info_.dwProcessId, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

HWND ViewerProcess::WaitForWindow(const char* className, const char* title, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowOf(className, title)) != nullptr || !Running(); },
            timeoutMs);
    return found;
}

std::string WindowText(HWND window) {
    // Sent, not GetWindowTextA: for another process's window that only reads
    // the caption, never an edit control's contents.
    char text[1024];
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &length)) {
        return "";
    }
    return std::string(text, length < sizeof(text) ? length : 0);
}

std::vector<std::string> ChildTexts(HWND parent, const char* className) {
    std::vector<std::string> texts;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64];
        GetClassNameA(child, name, sizeof(name));
        if (_stricmp(name, className) == 0 && IsWindowVisible(child)) {
            texts.push_back(WindowText(child));
        }
    }
    return texts;
}

void ClickAt(int x, int y) {
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
}

void PressKey(WORD virtualKey) {
    SendKey(virtualKey, true);
    SendKey(virtualKey, false);
}

void PressKeyWith(WORD modifier, WORD virtualKey) {
    SendKey(modifier, true);
    PressKey(virtualKey);
    SendKey(modifier, false);
}

void TypeText(const std::string& text) {
    for (char c : text) {
        INPUT inputs[2] = {};
        for (INPUT& input : inputs) {
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = static_cast<unsigned char>(c);
            input.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, inputs, sizeof(INPUT));
    }
}

RECT ScreenRectOfClient(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x, origin.y);
    return client;
}

bool Focus(HWND window) {
    // A click into the client area, as a user brings a window forward. A
    // window of a frame a few rows high has no client area below its menu
    // bar, where a click would open the menu, and a click on the caption
    // starts a move: it is asked to come forward instead.
    const RECT client = ScreenRectOfClient(window);
    if (client.right - client.left >= 4 && client.bottom - client.top >= 4) {
        ClickAt(client.left + 2, client.top + 2);
    } else {
        SetForegroundWindow(window);
    }
    if (!WaitFor([&] { return GetForegroundWindow() == window; }, 3000)) {
        SetForegroundWindow(window);
    }
    return WaitFor([&] { return GetForegroundWindow() == window; }, 5000);
}

ScreenShot CaptureScreen(const RECT& area) {
    ScreenShot shot;
    shot.width = area.right - area.left;
    shot.height = area.bottom - area.top;
    if (shot.width <= 0 || shot.height <= 0) {
        shot.width = shot.height = 0;
        return shot;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
    for (size_t i = 0; i < shot.pixels.size(); ++i) {
        const DWORD v = p[i]; // 0x00RRGGBB in a 32-bit DIB
        shot.pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

ScreenShot CaptureClient(HWND window) {
    return CaptureScreen(ScreenRectOfClient(window));
}

int CountFrameMismatches(const ScreenShot& shot, const Frame& frame) {
    int mismatches = 0;
    for (int y = 0; y < shot.height && y < frame.height; ++y) {
        for (int x = 0; x < shot.width && x < frame.width; ++x) {
            mismatches += shot.At(x, y) != frame.At(x, y);
        }
    }
    return mismatches;
}

// Decodes the BMP with ImageMagick into top-first RGB bytes.
std::vector<BYTE> DecodeWithImageMagick(const std::string& bmp) {
    const std::string rgb = bmp + ".rgb";
    DeleteFileA(rgb.c_str());
    std::string command = "/usr/bin/convert " + UnixPath(bmp) + " -depth 8 rgb:" + UnixPath(rgb);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return {}; // an empty result fails any comparison
    }
    WaitForSingleObject(info.hProcess, 60000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    WaitFor([&] { return FileExists(rgb); }, 10000);
    return ReadFileBytes(rgb);
}

std::vector<BYTE> FrameAsRgb(const Frame& frame) {
    std::vector<BYTE> rgb;
    for (size_t i = 0; i < frame.topFirst.size(); i += 3) {
        rgb.insert(rgb.end(), {frame.topFirst[i + 2], frame.topFirst[i + 1], frame.topFirst[i]});
    }
    return rgb;
}
