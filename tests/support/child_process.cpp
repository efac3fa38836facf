#include "support/child_process.h"

#include "support/polling.h"
#include "support/window_text.h"

#include <cstring>
#include <vector>

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
    if (context->className != nullptr && !HasClass(window, context->className)) {
        return TRUE;
    }
    if (context->title != nullptr && WindowText(window) != context->title) {
        return TRUE;
    }
    context->found = window;
    return FALSE;
}

} // namespace

ChildProcess::~ChildProcess() {
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

bool ChildProcess::Start(const std::string& commandLine, const std::string& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info_) != FALSE;
}

bool ChildProcess::StartViewerWithTail(const std::string& tail) {
    return Start("\"" + ViewerPath() + "\" " + tail);
}

bool ChildProcess::Adopt(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    info_.hProcess =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
    info_.dwProcessId = processId;
    return info_.hProcess != nullptr;
}

long ChildProcess::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

bool ChildProcess::Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND ChildProcess::FindWindowOf(const char* className, const char* title) const {
    FindContext context = {info_.dwProcessId, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

HWND ChildProcess::WaitForWindow(const char* className, const char* title, DWORD timeoutMs) {
    HWND found = nullptr;
    PollWithoutPumping(
        [&] { return (found = FindWindowOf(className, title)) != nullptr || !Running(); },
        timeoutMs);
    return found;
}
