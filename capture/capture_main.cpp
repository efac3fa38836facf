// oxcapture: writes one frame to the viewer's raw frame file and starts the
// viewer on it. The picture work is in the pure functions beside this file;
// this only ties them to files and processes.

#include "core/safe_file_writer.h"
#include "core/win32_handles.h"
#include "core/raw_frame_path.h"
#include "capture/capture_limits.h"
#include "capture/capture_options.h"
#include "capture/raw_frame_encode.h"
#include "capture/screen_capture.h"
#include "capture/test_pattern.h"
#include "capture/wic_decode.h"
#include "capture/wide_text.h"

#include <string>
#include <vector>

namespace {

constexpr char kProgramName[] = "oxcapture";
constexpr wchar_t kViewerName[] = L"oxview.exe";
// The viewer refuses to run with an empty command tail.
constexpr wchar_t kViewerTail[] = L" --frame";

void Report(const std::string& subject, const std::string& reason) {
    // Standard error is where a failure is told; if that fails, nothing can be.
    WriteText(STD_ERROR_HANDLE, std::string(kProgramName) + ": " + subject + ": " + reason + "\n");
}

// Writes contents through a temporary file beside the raw frame file, which
// then replaces it in one move, so the viewer never sees a partly written frame.
bool WriteRawFrameFile(const std::vector<BYTE>& contents) {
    char windowsDirectory[MAX_PATH];
    const UINT directoryLength = GetWindowsDirectoryA(windowsDirectory, MAX_PATH);
    char target[MAX_PATH];
    if (!BuildRawFramePath(windowsDirectory, directoryLength, target)) {
        Report("Windows directory", "no room for the raw frame file's path");
        return false;
    }
    // At most the largest frame and its header: one request does it.
    bool cutShortLeft = false;
    const DWORD error = WriteFileSafely(
        target, "oxc",
        [&](HANDLE file) {
            return WriteAll(file, contents.data(), static_cast<DWORD>(contents.size()));
        },
        &cutShortLeft);
    if (error != 0) {
        Report(Utf8FromAnsi(target), "cannot write: " + SystemMessageUtf8(error) +
                                         (cutShortLeft ? std::string("; ") + kCutShortLeft : ""));
        return false;
    }
    return true;
}

// Starts oxview.exe from this program's folder, named in wide text, which
// holds any folder name; returns its exit code when waiting, else 0 once it
// is running.
int StartViewer(bool wait) {
    std::wstring folder;
    if (!ProgramFolderWide(folder)) {
        Report(Utf8FromWide(kViewerName), "cannot find this program's folder");
        return kExitFailure;
    }
    const std::wstring viewerWide = folder + kViewerName;
    const std::string viewer = Utf8FromWide(viewerWide.c_str());

    // CreateProcessW may write to the command line it is given.
    std::wstring commandLine = L"\"" + viewerWide + L"\"" + kViewerTail;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(viewerWide.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        Report(viewer, "cannot start: " + SystemMessageUtf8(GetLastError()));
        return kExitFailure;
    }
    KernelHandle thread(process.hThread);
    KernelHandle child(process.hProcess);
    if (!wait) {
        return kExitSuccess;
    }
    if (WaitForSingleObject(child.get(), INFINITE) != WAIT_OBJECT_0) {
        Report(viewer, "cannot wait for it: " + SystemMessageUtf8(GetLastError()));
        return kExitFailure;
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(child.get(), &exitCode)) {
        Report(viewer, "cannot get its exit code: " + SystemMessageUtf8(GetLastError()));
        return kExitFailure;
    }
    return static_cast<int>(exitCode);
}

bool PictureFrame(const CaptureOptions& options, CaptureImage& image) {
    const Imaging imaging;
    std::string reason;
    if (!imaging.Ready(reason) ||
        !DecodePictureFile(imaging, options.imagePath, options.page, options.fit, image, reason)) {
        Report(SourceName(options), reason);
        return false;
    }
    return true;
}

// The desktop rectangle a screen source names: the primary screen, the
// region once it is known to lie on the desktop, or the window's.
bool ScreenSourceArea(const CaptureOptions& options, ScreenArea& area, std::string& reason) {
    switch (options.source) {
    case CaptureSource::kRegion:
        area = options.region;
        return CheckRegionOnDesktop(area, VirtualDesktop(), reason);
    case CaptureSource::kWindow:
        return FindWindowArea(options.windowTitle, area, reason);
    default:
        area = PrimaryScreen();
        return true;
    }
}

// Taken before the viewer starts, so its window is never in the picture.
bool ScreenFrame(const CaptureOptions& options, CaptureImage& image) {
    // The person brings up what they want meanwhile.
    Sleep(options.delayMs);
    ScreenArea area;
    int frameWidth = 0;
    int frameHeight = 0;
    std::vector<unsigned char> pixels;
    std::string reason;
    if (!ScreenSourceArea(options, area, reason) ||
        !PlanFrameSize(area.width, area.height, options.fit, SourceWord(options.source), frameWidth,
                       frameHeight, reason) ||
        !GrabScreenArea(area, pixels, reason)) {
        Report(SourceName(options), reason);
        return false;
    }
    const int width = static_cast<int>(area.width);
    const int height = static_cast<int>(area.height);
    if (frameWidth == width && frameHeight == height) {
        image = FrameFromTopFirstBgrx(pixels.data(), width, height,
                                      static_cast<std::size_t>(width) * 4);
        return true;
    }
    const Imaging imaging;
    if (!imaging.Ready(reason) || !ScaleToFrame(imaging, pixels.data(), width, height, frameWidth,
                                                frameHeight, image, reason)) {
        Report(SourceName(options), reason);
        return false;
    }
    return true;
}

} // namespace

// The command line is read in UTF-16, as Windows keeps it: the 8-bit argv of
// the C runtime loses every character outside the ANSI code page.
int main() {
    std::vector<std::string> arguments;
    if (!CommandLineArguments(arguments)) {
        Report("command line", "cannot read it: " + SystemMessageUtf8(GetLastError()));
        return kExitFailure;
    }
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    const CaptureOptions options = ParseCaptureOptions(static_cast<int>(argv.size()), argv.data());
    switch (options.action) {
    case CaptureAction::kHelp:
        return WriteText(STD_OUTPUT_HANDLE, kCaptureUsage) ? kExitSuccess : kExitFailure;
    case CaptureAction::kVersion:
        return WriteText(STD_OUTPUT_HANDLE, kCaptureVersion) ? kExitSuccess : kExitFailure;
    case CaptureAction::kUsageError:
        // The exit code tells it even where standard error cannot.
        WriteText(STD_ERROR_HANDLE, std::string(kProgramName) + ": " + options.error + "\nTry '" +
                                        kProgramName + " --help'.\n");
        return kExitUsage;
    case CaptureAction::kCapture:
        break;
    }

    CaptureImage image;
    bool made = true;
    switch (options.source) {
    case CaptureSource::kPattern:
        image = MakeTestPattern(options.patternWidth, options.patternHeight);
        break;
    case CaptureSource::kFile:
        made = PictureFrame(options, image);
        break;
    default:
        made = ScreenFrame(options, image);
        break;
    }
    if (!made || !WriteRawFrameFile(EncodeRawFrame(image))) {
        return kExitFailure;
    }
    return options.startViewer ? StartViewer(options.waitForViewer) : kExitSuccess;
}
