// Runs the programs from the unpacked zip, far from the build tree: the
// package must hold everything the road from capture to viewer needs.

#include "e2e/viewer_test.h"

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

std::string ColourText(COLORREF colour) {
    return std::to_string(GetRValue(colour)) + "," + std::to_string(GetGValue(colour)) + "," +
           std::to_string(GetBValue(colour));
}

using UnpackedPackage = ViewerTest;

TEST_F(UnpackedPackage, CaptureStartsItsOwnViewerWhichShowsTheFrameAndEndsOnEsc) {
    const std::string folder = UnpackedFolder();
    const std::string capture = folder + "oxcapture.exe";
    ASSERT_TRUE(FileExists(capture)) << capture;
    ASSERT_EQ(nullptr, FindWindowA("OX581_DX9 Class", "OrbiluxCap_KT5810"))
        << "another viewer is running";

    ChildProcess capturing;
    ASSERT_TRUE(capturing.Start("\"" + capture + "\" --size 96x64", capture));
    HWND window = AdoptViewerStartedBy(capturing);
    ASSERT_NE(nullptr, window);
    const std::string image = ImagePathOf(viewer_.Id());
    EXPECT_EQ(0, _stricmp((folder + "oxview.exe").c_str(), image.c_str()))
        << "the viewer runs from " << image << ", not from " << folder;

    // A few pixels of the 96x64 test pattern, as (x, y, red, green, blue).
    const int pixels[][5] = {{0, 0, 255, 255, 255},
                             {5, 5, 255, 0, 0},
                             {40, 1, 255, 0, 255},
                             {95, 10, 128, 128, 128},
                             {41, 33, 110, 8, 145}};
    std::string wrong;
    EXPECT_TRUE(PollWithoutPumping([&] {
        const ScreenShot shot = CaptureClient(window);
        wrong.clear();
        for (const auto& p : pixels) {
            const COLORREF want = RGB(p[2], p[3], p[4]);
            const COLORREF got = shot.width > p[0] && shot.height > p[1] ? shot.At(p[0], p[1]) : 0;
            if (got != want) {
                wrong += " (" + std::to_string(p[0]) + "," + std::to_string(p[1]) + ") is " +
                         ColourText(got) + ", expected " + ColourText(want) + ";";
            }
        }
        return wrong.empty();
    })) << "the test pattern is not on screen:"
        << wrong;

    EndWithEsc(viewer_, window);
    EXPECT_EQ(0, capturing.WaitForExit()) << "oxcapture passes on the viewer's exit code";
    EXPECT_FALSE(FileExists(RawFramePath()));
}

} // namespace
