#pragma once

#include <windows.h>

// Owners for Win32 handles, so every way out of a function gives back what
// it took.

// Each release says whether the handle was given back.
inline bool CloseKernelHandle(HANDLE handle) {
    return CloseHandle(handle) != FALSE;
}
inline bool DeleteMemoryDC(HDC dc) {
    return DeleteDC(dc) != FALSE;
}
inline bool DeleteGdiObject(HGDIOBJ object) {
    return DeleteObject(object) != FALSE;
}
inline bool CloseRegistryKey(HKEY key) {
    return RegCloseKey(key) == ERROR_SUCCESS;
}

// Owns one handle that Release gives back. Null and INVALID_HANDLE_VALUE,
// the two ways a failed call says it has no handle, are never released. The
// destructor drops a failed release: nobody is left to act on it.
template <typename Handle, bool (*Release)(Handle)> class Owned {
  public:
    explicit Owned(Handle handle = nullptr) : handle_(handle) {}
    ~Owned() { Close(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Handle get() const { return handle_; }
    // For a call that hands the handle out through a pointer.
    Handle* receive() { return &handle_; }
    bool valid() const {
        return handle_ != nullptr && handle_ != reinterpret_cast<Handle>(INVALID_HANDLE_VALUE);
    }
    // For a handle that was written to, where a failed close means lost data.
    bool Close() {
        if (!valid()) {
            return true;
        }
        const bool released = Release(handle_);
        handle_ = nullptr;
        return released;
    }

  private:
    Handle handle_;
};

// A kernel object: a file, a process, a thread.
using KernelHandle = Owned<HANDLE, CloseKernelHandle>;
// A context of CreateCompatibleDC.
using MemoryDC = Owned<HDC, DeleteMemoryDC>;
using GdiObject = Owned<HGDIOBJ, DeleteGdiObject>;
using RegistryKey = Owned<HKEY, CloseRegistryKey>;

// A window's context (the screen's for a null window), released to the
// window it came from.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC and puts the one it displaced back, so the
// object can be deleted afterwards. Declare it after the object it selects.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc),
          previous_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_ != nullptr) {
            SelectObject(dc_, previous_);
        }
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};
