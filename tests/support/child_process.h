#pragma once

// The one way the tests start another process (the programs under test and
// the Unix tools they trust) and find the windows of what it started.

#include "support/paths.h"

#include <windows.h>

#include <string>

// A program's path in quotes, then its arguments, as a shell builds it.
std::string CommandLine(const std::string& program, const std::string& arguments);
// UTF-8 as the wide text Windows' W functions take.
std::wstring Wide(const std::string& utf8);

class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess(); // ends a program a failed test left running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts program (the viewer by default) with exactly this UTF-8 command
    // line, as wide text; with outPath and errPath, its output goes there.
    bool Start(const std::string& commandLine, const std::string& program = ViewerPath(),
               const std::string& outPath = "", const std::string& errPath = "");
    // Starts the viewer as the capture program does: quoted path and a tail.
    bool StartViewerWithTail(const std::string& tail = "frame");
    // Takes over a program that another one started, by one of its windows.
    bool Adopt(HWND window);
    // The exit code, or -1 at the deadline; pumps messages meanwhile, for the test's windows.
    long WaitForExit(DWORD timeoutMs = 15000);
    bool Running() const;
    // The peak working set sampled while WaitForExit waited; 0 if unread.
    SIZE_T PeakMemory() const { return peakMemory_; }
    DWORD Id() const { return info_.dwProcessId; }

    // A visible top-level window of this process (null: any class or title),
    // or null when none shows before the deadline or the exit.
    HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs = 15000);
    HWND FindWindowOf(const char* className, const char* title) const;
    HWND WaitForMainWindow() { return WaitForWindow("OX581_DX9 Class", "OrbiluxCap_KT5810"); }

  private:
    void SamplePeakMemory();

    PROCESS_INFORMATION info_ = {};
    SIZE_T peakMemory_ = 0;
};

// Starts a Unix program ("/bin/sh -c ...") and lets go: Wine cannot wait; watch what it writes.
bool StartUnixProgram(const std::string& commandLine);
