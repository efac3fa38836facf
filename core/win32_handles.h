#pragma once

#include <windows.h>

// Small owners for Win32 handles, so every way out of a function gives back
// what it took. Each tolerates a null handle, which a failed call leaves.

// A kernel object: a file, a process, a thread.
class KernelHandle {
  public:
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    ~KernelHandle() { Close(); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    // For a handle that was written to, where a failed close means lost data.
    bool Close() {
        if (!valid()) {
            return true;
        }
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

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

class MemoryDC {
  public:
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

class GdiObject {
  public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() {
        if (object_ != nullptr) {
            DeleteObject(object_);
        }
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ get() const { return object_; }

  private:
    HGDIOBJ object_;
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

class RegistryKey {
  public:
    RegistryKey() = default;
    ~RegistryKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY get() const { return key_; }
    HKEY* receive() { return &key_; }

  private:
    HKEY key_ = nullptr;
};
