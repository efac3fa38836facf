#include "support/child_process.h"

#include "core/win32_handles.h"
#include "support/polling.h"
#include "support/window_text.h"

#include <psapi.h>

#include <cstdio>

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
    const bool match = owner == context->processId && IsWindowVisible(window) &&
                       (context->className == nullptr || HasClass(window, context->className)) &&
                       (context->title == nullptr || WindowText(window) == context->title);
    context->found = match ? window : nullptr;
    return !match;
}

// A file for a child's output, which it inherits. Shared for writing: a process that Wine
// started for the child (its desktop, a service) may hold a copy of the handle for a while after
// the child ends, and without the share the next run could not make the file anew (error 32).
HANDLE OutputFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    return CreateFileW(Wide(path).c_str(), GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The one call that starts a process; a program of "" is found from the command line's first word.
bool Launch(const std::string& commandLine, const std::string& program, const std::string& outPath,
            const std::string& errPath, PROCESS_INFORMATION& info) {
    const bool redirect = !outPath.empty();
    // Our copies, closed on the way out: a failed close cannot lose what the child writes.
    const KernelHandle out(redirect ? OutputFile(outPath) : nullptr);
    const KernelHandle err(redirect ? OutputFile(errPath) : nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = redirect ? STARTF_USESTDHANDLES : 0;
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    if (redirect && !(out.valid() && err.valid())) {
        return false;
    }
    const std::wstring name = Wide(program);
    for (int attempt = 1;; ++attempt) {
        std::wstring line = Wide(commandLine); // CreateProcessW may write to it
        if (CreateProcessW(name.empty() ? nullptr : name.c_str(), &line[0], nullptr, nullptr,
                           redirect, 0, nullptr, nullptr, &startup, &info)) {
            return true;
        }
        // Wine's word for a process that ended in Wine's own start-up, before the program's
        // first instruction (seen once on a loaded machine): no fault of the program causes it, so
        // it gets one more start, which is said. Any other failure, or a second one, stands.
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == 2) {
            SetLastError(error);
            return false;
        }
        std::fprintf(stderr,
                     "note: Wine could not finish starting %s (error 1359); starting it again\n",
                     commandLine.c_str());
    }
}

} // namespace

std::string CommandLine(const std::string& program, const std::string& arguments) {
    return "\"" + program + "\" " + arguments;
}

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0'); // never more units than bytes
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    &wide[0], static_cast<int>(wide.size())));
    return wide;
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    const KernelHandle thread(info_.hThread), process(info_.hProcess); // given back here
}

bool ChildProcess::Start(const std::string& commandLine, const std::string& program,
                         const std::string& outPath, const std::string& errPath) {
    return Launch(commandLine, program, outPath, errPath, info_);
}

bool ChildProcess::StartViewerWithTail(const std::string& tail) {
    return Start(CommandLine(ViewerPath(), tail));
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
    const DWORD start = GetTickCount();
    // Until the process ends, the handle fails or the deadline passes.
    for (DWORD waited = WAIT_TIMEOUT; (waited == WAIT_TIMEOUT || waited == WAIT_OBJECT_0 + 1) &&
                                      GetTickCount() - start < timeoutMs;) {
        PumpMessages();
        SamplePeakMemory();
        waited = MsgWaitForMultipleObjects(1, &info_.hProcess, FALSE, 5, QS_ALLINPUT);
    }
    DWORD code = 0;
    return Running() || !GetExitCodeProcess(info_.hProcess, &code) ? -1 : static_cast<long>(code);
}

void ChildProcess::SamplePeakMemory() {
    // Wine reads these from the Unix process, which is gone once the program
    // has ended; the peak working set only grows, so the last sample holds.
    PROCESS_MEMORY_COUNTERS memory = {};
    if (GetProcessMemoryInfo(info_.hProcess, &memory, sizeof(memory)) &&
        memory.PeakWorkingSetSize > peakMemory_) {
        peakMemory_ = memory.PeakWorkingSetSize;
    }
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

bool StartUnixProgram(const std::string& commandLine) {
    PROCESS_INFORMATION info = {};
    // Not closed: for a Unix program Wine gives no handles of its own, and the 64-bit loader
    // leaves a stale value in hThread, whose close would take an unrelated handle of this process
    // (its message queue's, so every MsgWaitForMultipleObjects after it fails).
    return Launch(commandLine, "", "", "", info);
}
