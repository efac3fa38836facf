#pragma once

// Runs a program under test as a separate process, the way its user or the
// capture program starts it, and finds its windows.

#include "support/paths.h"

#include <windows.h>

#include <string>

class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess(); // ends a program a failed test left running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts program (the viewer by default) with exactly this command line.
    bool Start(const std::string& commandLine, const std::string& program = ViewerPath());
    // Starts the viewer as the capture program does: quoted path and a tail.
    bool StartViewerWithTail(const std::string& tail = "frame");
    // Takes over a program that another one started, by one of its windows.
    bool Adopt(HWND window);
    // The exit code, or -1 when the program still runs at the deadline.
    long WaitForExit(DWORD timeoutMs = 15000);
    bool Running() const;
    DWORD Id() const { return info_.dwProcessId; }

    // A visible top-level window of this process (null: any class or
    // title), or null when none shows before the deadline or the exit.
    HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs = 15000);
    HWND FindWindowOf(const char* className, const char* title) const;
    HWND WaitForMainWindow() { return WaitForWindow("OX581_DX9 Class", "OrbiluxCap_KT5810"); }

  private:
    PROCESS_INFORMATION info_ = {};
};
