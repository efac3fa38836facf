#include "viewer_test.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// What the viewer holds, read from outside it. Wine has no GetGuiResources
// and its GetProcessHandleCount answers 0, so the handles are counted in the
// system's handle table (class 16); -1 where that cannot be read.
struct Usage {
    long handles = -1;
    unsigned long long privateBytes = 0; // committed private memory; 0 where unread
    // A reading of nothing would pass every bound below.
    bool Read() const { return handles >= 0 && privateBytes > 0; }
    std::string Describe() const {
        return "handles " + std::to_string(handles) + ", private " +
               std::to_string(privateBytes / 1024) + " KiB";
    }
};

Usage ReadUsage(DWORD processId) {
    struct HandleRow {
        ULONG ownerId;
        BYTE objectType, flags;
        USHORT value;
        PVOID object;
        ACCESS_MASK access;
    };
    Usage usage;
    std::vector<BYTE> table(1 << 20);
    LONG status = 0;
    ULONG needed = 0;
    while ((status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16),
                                              table.data(), static_cast<ULONG>(table.size()),
                                              &needed)) == static_cast<LONG>(0xC0000004L) &&
           table.size() < (64u << 20)) { // STATUS_INFO_LENGTH_MISMATCH
        table.resize(table.size() * 2);
    }
    if (status == 0) {
        const auto* row = reinterpret_cast<const HandleRow*>(table.data() + sizeof(ULONG_PTR));
        usage.handles = 0;
        for (ULONG i = 0; i < *reinterpret_cast<const ULONG*>(table.data()); ++i) {
            usage.handles += (row[i].ownerId & 0xFFFF) == (processId & 0xFFFF) ? 1 : 0;
        }
    }
    const KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    PROCESS_MEMORY_COUNTERS memory = {};
    if (process.valid() && GetProcessMemoryInfo(process.get(), &memory, sizeof(memory))) {
        usage.privateBytes = memory.PagefileUsage;
    }
    return usage;
}

using Soak = ViewerTest;

DWORD SoakMilliseconds() {
    const char* seconds = std::getenv("OXVIEW_SOAK_SECONDS");
    const long value = seconds != nullptr ? std::atol(seconds) : 0;
    return static_cast<DWORD>(value > 0 ? value : 120) * 1000;
}

// Closes an open menu the way a user often does: a click beside it.
bool CloseMenu(ChildProcess& viewer, HWND window) {
    const RECT client = ScreenRectOfClient(window);
    ClickAt(client.right - 20, client.bottom - 20);
    return PollWithoutPumping([&] { return viewer.FindWindowOf("#32768", nullptr) == nullptr; },
                              5000);
}

// One round of use: the File menu opened and closed, the window moved and resized, arrows pressed.
void UseTheViewer(ChildProcess& viewer, HWND window, int round, bool menuOpened) {
    if (menuOpened) {
        EXPECT_TRUE(CloseMenu(viewer, window)) << "the File menu stayed open";
    }
    const int x = 20 + (round * 37) % 300, y = 10 + (round * 23) % 100;
    const int grow = (round % 4) * 60;
    EXPECT_TRUE(SetWindowPos(window, nullptr, x, y, 649 + grow, 522 + grow / 2, SWP_NOZORDER));
    for (WORD key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
        PressKey(key);
    }
}

TEST_F(Soak, TwoMinutesOfUseLeaveTheViewerAsItWas) {
    const Frame frame = PatternFrame(640, 480);
    HWND window = nullptr;
    ASSERT_TRUE(StartOn(frame, window));
    RECT original;
    ASSERT_TRUE(GetWindowRect(window, &original));

    const DWORD length = SoakMilliseconds();
    const DWORD start = GetTickCount();
    const DWORD warmUp = length / 8; // fonts, menus and caches are made once
    Usage baseline;
    bool haveBaseline = false;
    int rounds = 0, missedMenus = 0;
    while (GetTickCount() - start < length) {
        // Alt+F is now and then lost while Wine settles a move; a user
        // presses again, but a menu that stops opening fails the run.
        bool menuOpened = false;
        for (int attempt = 0; attempt < 3 && !menuOpened; ++attempt) {
            menuOpened = OpenFileMenu(window);
            missedMenus += menuOpened ? 0 : 1;
        }
        EXPECT_TRUE(menuOpened) << "round " << rounds << ": the File menu did not open";
        UseTheViewer(viewer_, window, rounds, menuOpened);
        ASSERT_TRUE(viewer_.Running()) << "the viewer ended in round " << rounds;
        ++rounds;
        if (!haveBaseline && GetTickCount() - start >= warmUp) {
            baseline = ReadUsage(viewer_.Id());
            haveBaseline = true;
            std::printf("baseline after %lu ms: %s\n", GetTickCount() - start,
                        baseline.Describe().c_str());
        }
    }
    const Usage last = ReadUsage(viewer_.Id());
    std::printf("after %d rounds in %lu ms (%d Alt+F presses repeated): %s\n", rounds,
                GetTickCount() - start, missedMenus, last.Describe().c_str());
    ASSERT_TRUE(baseline.Read() && last.Read()) << "the viewer's usage could not be read";

    // Flat: a leak per round or redraw adds up. One memory DC left per redraw grows private
    // memory by about 1.5 MiB in two minutes; a sound run stays within about 100 KiB.
    EXPECT_LT(last.privateBytes, baseline.privateBytes + 512 * 1024);
    EXPECT_LE(last.handles, baseline.handles + 4);

    // The picture is still exact, in the window's first place and size.
    ASSERT_TRUE(SetWindowPos(window, nullptr, original.left, original.top,
                             original.right - original.left, original.bottom - original.top,
                             SWP_NOZORDER));
    EXPECT_TRUE(PollWithoutPumping([&] {
        return CountFrameMismatches(CaptureClient(window), frame) == 0;
    })) << "the frame is no longer exact on screen";
    EXPECT_TRUE(EndWithEsc(viewer_, window));
}

} // namespace
