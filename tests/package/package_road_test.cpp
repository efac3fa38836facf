// Runs the programs from the unpacked zip, far from the build tree: the
// package must hold everything the road from capture to viewer needs.

#include "e2e/viewer_test.h"
#include "support/test_pattern_pixels.h"

#include <psapi.h>

namespace {

// The unpacked folder, as the unpack step left it in its record.
std::string UnpackedFolder() {
    const std::vector<BYTE> record = ReadFileBytes(TestFolder() + "unpacked-package.txt");
    std::string folder(record.begin(), record.end());
    return folder.substr(0, folder.find_first_of("\r\n")) + "\\";
}

std::string ImagePathOf(DWORD processId) {
    const KernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    char path[MAX_PATH];
    const DWORD length =
        process.valid() ? GetModuleFileNameExA(process.get(), nullptr, path, MAX_PATH) : 0;
    return std::string(path, length);
}

using UnpackedPackage = ViewerTest;

TEST_F(UnpackedPackage, CaptureStartsItsOwnViewerWhichShowsTheFrameAndEndsOnEsc) {
    const std::string folder = UnpackedFolder();
    const std::string capture = folder + "oxcapture.exe";
    ASSERT_TRUE(FileExists(capture)) << capture;
    ASSERT_EQ(nullptr, FindWindowA("OX581_DX9 Class", "OrbiluxCap_KT5810"))
        << "another viewer is running";

    ChildProcess capturing;
    ASSERT_TRUE(capturing.Start(CommandLine(capture, "--size 96x64"), capture));
    HWND window = AdoptViewerStartedBy(capturing);
    ASSERT_NE(nullptr, window);
    const std::string image = ImagePathOf(viewer_.Id());
    EXPECT_EQ(0, _stricmp((folder + "oxview.exe").c_str(), image.c_str()))
        << "the viewer runs from " << image << ", not from " << folder;

    std::string wrong;
    EXPECT_TRUE(PollWithoutPumping([&] {
        const ScreenShot shot = CaptureClient(window);
        wrong = WrongPatternPixels(96, 64, [&](int x, int y) {
            const COLORREF got = shot.width > x && shot.height > y ? shot.At(x, y) : 0;
            return std::to_string(GetRValue(got)) + "," + std::to_string(GetGValue(got)) + "," +
                   std::to_string(GetBValue(got));
        });
        return wrong.empty();
    })) << "the test pattern is not on screen:"
        << wrong;

    EndWithEsc(viewer_, window);
    EXPECT_EQ(0, capturing.WaitForExit()) << "oxcapture passes on the viewer's exit code";
    EXPECT_FALSE(FileExists(RawFramePath()));
}

} // namespace
