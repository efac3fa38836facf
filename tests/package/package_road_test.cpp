// Runs the programs from the unpacked zip, far from the build tree: the
// package must hold everything the road from capture to viewer needs. Copies
// of them run from folders whose names no 8-bit function holds whole.

#include "e2e/viewer_test.h"
#include "support/capture_run.h"
#include "support/test_pattern_pixels.h"

#include <psapi.h>

namespace {

// The unpacked folder, as the unpack step left it in its record.
std::string UnpackedFolder() {
    const std::vector<BYTE> record = ReadFileBytes(TestFolder() + "unpacked-package.txt");
    std::string folder(record.begin(), record.end());
    return folder.substr(0, folder.find_first_of("\r\n")) + "\\";
}

std::wstring ImagePathOf(DWORD processId) {
    const KernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    wchar_t path[MAX_PATH];
    const DWORD length =
        process.valid() ? GetModuleFileNameExW(process.get(), nullptr, path, MAX_PATH) : 0;
    return std::wstring(path, length);
}

// The folder under the unpacked one that the programs run from ("" for the
// unpacked one itself), and whether the viewer lies beside oxcapture there.
struct Place {
    const char* subfolder;
    bool withViewer;
};
void PrintTo(const Place& place, std::ostream* out) {
    *out << "'" << place.subfolder << "'" << (place.withViewer ? " with the viewer" : " alone");
}

class UnpackedPackage : public ViewerTest, public ::testing::WithParamInterface<Place> {
  protected:
    // The programs copied into the place, whose folder the unpack step's
    // removal takes away.
    static std::string Prepare(const Place& place) {
        const std::string unpacked = UnpackedFolder();
        if (*place.subfolder == '\0') {
            return unpacked;
        }
        const std::string folder = unpacked + place.subfolder + "\\";
        EXPECT_TRUE(CreateDirectoryW(Wide(folder).c_str(), nullptr)) << folder;
        for (const char* name : {"oxcapture.exe", place.withViewer ? "oxview.exe" : nullptr}) {
            EXPECT_TRUE(name == nullptr ||
                        CopyFileW(Wide(unpacked + name).c_str(), Wide(folder + name).c_str(), TRUE))
                << folder << name;
        }
        return folder;
    }
};

TEST_P(UnpackedPackage, CaptureStartsItsOwnViewerWhichShowsTheFrameAndEndsOnEsc) {
    const std::string folder = Prepare(GetParam());
    const std::string capture = folder + "oxcapture.exe";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Wide(capture).c_str())) << capture;
    if (!GetParam().withViewer) {
        // Named as it is, in UTF-8, with the system's words after it.
        const CaptureRun run = RunCapture("--no-wait", capture);
        ExpectRefused(run, "oxcapture: " + folder + "oxview.exe: cannot start: ");
        EXPECT_NE(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, run.err.data(),
                                         static_cast<int>(run.err.size()), nullptr, 0))
            << "not UTF-8: " << run.err;
        return;
    }
    ASSERT_EQ(nullptr, FindWindowA("OX581_DX9 Class", "OrbiluxCap_KT5810"))
        << "another viewer is running";

    ChildProcess capturing;
    ASSERT_TRUE(capturing.Start(CommandLine(capture, "--size 96x64"), capture));
    HWND window = AdoptViewerStartedBy(capturing);
    ASSERT_NE(nullptr, window);
    const std::wstring image = ImagePathOf(viewer_.Id());
    EXPECT_EQ(0, _wcsicmp(Wide(folder + "oxview.exe").c_str(), image.c_str()))
        << "the viewer does not run from " << folder;

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

INSTANTIATE_TEST_SUITE_P(Folders, UnpackedPackage,
                         ::testing::Values(Place{"", true},
                                           // Outside the ANSI code page.
                                           Place{"日本 Łódź", true},
                                           // In it, where its byte is no UTF-8.
                                           Place{"café", false}));

} // namespace
