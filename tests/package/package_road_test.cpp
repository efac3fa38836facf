// Runs the programs from the unpacked zip, far from the build tree: the package must hold all
// the road from capture to viewer needs. Copies run from folders no 8-bit function names whole.

#include "e2e/viewer_test.h"
#include "support/capture_run.h"
#include "support/test_pattern_pixels.h"

namespace {

// The unpacked folder, as the unpack step left it in its record.
std::string UnpackedFolder() {
    const std::vector<BYTE> record = ReadFileBytes(TestFolder() + "unpacked-package.txt");
    std::string folder(record.begin(), record.end());
    return folder.substr(0, folder.find_first_of("\r\n")) + "\\";
}

// A folder beside the unpacked programs that copies of them run from ("" for
// the unpacked folder itself), and whether the viewer is copied there too.
struct Place {
    const char* subfolder;
    bool withViewer;
};

class UnpackedPackage : public ViewerTest, public ::testing::WithParamInterface<Place> {};

TEST_P(UnpackedPackage, CaptureStartsItsOwnViewerWhichShowsTheFrameAndEndsOnEsc) {
    const Place place = GetParam();
    const std::string unpacked = UnpackedFolder();
    const std::string folder = unpacked + place.subfolder + (*place.subfolder ? "\\" : "");
    SCOPED_TRACE(folder);
    const std::string capture = folder + "oxcapture.exe";
    // Copies go where the unpack step's removal takes them away.
    const auto copy = [&](const char* name) {
        return CopyFileW(Wide(unpacked + name).c_str(), Wide(folder + name).c_str(), TRUE);
    };
    if (folder != unpacked) {
        ASSERT_TRUE(CreateDirectoryW(Wide(folder).c_str(), nullptr) && copy("oxcapture.exe") &&
                    (!place.withViewer || copy("oxview.exe")));
    }
    if (!place.withViewer) {
        // Named as it is, in UTF-8.
        EXPECT_TRUE(Refused(RunCapture("--no-wait", capture),
                            "oxcapture: " + folder + "oxview.exe: cannot start: "));
        return;
    }
    ASSERT_EQ(nullptr, FindWindowA("OX581_DX9 Class", "OrbiluxCap_KT5810"))
        << "another viewer is running";

    ChildProcess capturing;
    ASSERT_TRUE(capturing.Start(CommandLine(capture, "--size 96x64"), capture));
    HWND window = nullptr;
    ASSERT_TRUE(AdoptViewerStartedBy(capturing, window));

    std::string wrong;
    EXPECT_TRUE(PollWithoutPumping([&] {
        return (wrong = WrongPatternPixels(96, 64, FrameOf(CaptureClient(window)))).empty();
    })) << "the test pattern is not on screen:"
        << wrong;

    EXPECT_TRUE(EndWithEsc(viewer_, window));
    EXPECT_EQ(0, capturing.WaitForExit()) << "oxcapture passes on the viewer's exit code";
}

INSTANTIATE_TEST_SUITE_P(Folders, UnpackedPackage,
                         ::testing::Values(Place{"", true},
                                           // Outside the ANSI code page.
                                           Place{"日本 Łódź", true},
                                           // In it, but its 8-bit byte is no UTF-8.
                                           Place{"café", false}));

} // namespace
