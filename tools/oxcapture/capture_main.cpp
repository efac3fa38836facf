// oxcapture: writes one frame to the viewer's raw frame file and starts the
// viewer on it. The picture work is in the pure functions beside this file;
// this only ties them to files and processes.

#include "app/win32_handles.h"
#include "frame/raw_frame_file.h"
#include "tools/oxcapture/capture_limits.h"
#include "tools/oxcapture/capture_options.h"
#include "tools/oxcapture/raw_frame_encode.h"
#include "tools/oxcapture/screen_capture.h"
#include "tools/oxcapture/test_pattern.h"
#include "tools/oxcapture/wic_decode.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr char kProgramName[] = "oxcapture";
constexpr char kViewerName[] = "oxview.exe";
// The viewer refuses to run with an empty command tail.
constexpr char kViewerTail[] = " --frame";

std::string SystemMessage(DWORD error) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof(text), nullptr);
    // The message has to fit on one line with the file name.
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                          text[length - 1] == ' ' || text[length - 1] == '.')) {
        --length;
    }
    if (length == 0) {
        return "system error " + std::to_string(error);
    }
    return std::string(text, length);
}

void Report(const std::string& subject, const std::string& reason) {
    std::fprintf(stderr, "%s: %s: %s\n", kProgramName, subject.c_str(), reason.c_str());
}

// Removes the file when it goes out of scope, unless it was moved into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& path) : path_(path) {}
    ~TemporaryFile() {
        if (!kept_) {
            // Nothing more can be done if this fails (or the file was never
            // made); the write has failed anyway.
            DeleteFileA(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void Keep() { kept_ = true; }

  private:
    std::string path_;
    bool kept_ = false;
};

// Writes contents beside the raw frame file, then moves it over that file in
// one step, so the viewer never sees a partly written frame.
bool WriteRawFrameFile(const std::vector<BYTE>& contents) {
    char windowsDirectory[MAX_PATH];
    const UINT directoryLength = GetWindowsDirectoryA(windowsDirectory, MAX_PATH);
    char target[MAX_PATH];
    if (!BuildRawFramePath(windowsDirectory, directoryLength, target)) {
        Report("Windows directory", "no room for the raw frame file's path");
        return false;
    }
    const std::string temporary =
        std::string(target) + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    if (temporary.size() >= MAX_PATH) {
        Report(target, "path too long for the temporary file");
        return false;
    }

    // Declared first so that it outlives the handle: an open file cannot be deleted.
    TemporaryFile guard(temporary);
    FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        Report(temporary, "cannot create: " + SystemMessage(GetLastError()));
        return false;
    }
    // At most 1280 x 1024 x 3 + 24 bytes: one request does it.
    const DWORD size = static_cast<DWORD>(contents.size());
    DWORD written = 0;
    if (!WriteFile(file.get(), contents.data(), size, &written, nullptr)) {
        Report(temporary, "cannot write: " + SystemMessage(GetLastError()));
        return false;
    }
    if (written != size) {
        Report(temporary, "cannot write: the disk took only " + std::to_string(written) + " of " +
                              std::to_string(size) + " bytes");
        return false;
    }
    if (!file.Close()) {
        Report(temporary, "cannot write: " + SystemMessage(GetLastError()));
        return false;
    }
    if (!MoveFileExA(temporary.c_str(), target, MOVEFILE_REPLACE_EXISTING)) {
        Report(target, "cannot replace: " + SystemMessage(GetLastError()));
        return false;
    }
    guard.Keep();
    return true;
}

// Starts oxview.exe from this program's folder; returns its exit code when
// waiting, else 0 once it is running.
int StartViewer(bool wait) {
    char module[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    // A full buffer means the name was cut short.
    if (length == 0 || length >= MAX_PATH) {
        Report(kViewerName, "cannot find this program's folder");
        return kExitFailure;
    }
    std::string viewer(module, length);
    const std::size_t slash = viewer.find_last_of("\\/");
    viewer.erase(slash == std::string::npos ? 0 : slash + 1);
    viewer += kViewerName;

    const std::string commandText = "\"" + viewer + "\"" + kViewerTail;
    // CreateProcessA may write to the command line it is given.
    std::vector<char> commandLine(commandText.begin(), commandText.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(viewer.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        Report(viewer, "cannot start: " + SystemMessage(GetLastError()));
        return kExitFailure;
    }
    FileHandle thread(process.hThread);
    FileHandle child(process.hProcess);
    if (!wait) {
        return kExitSuccess;
    }
    if (WaitForSingleObject(child.get(), INFINITE) != WAIT_OBJECT_0) {
        Report(viewer, "cannot wait for it: " + SystemMessage(GetLastError()));
        return kExitFailure;
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(child.get(), &exitCode)) {
        Report(viewer, "cannot get its exit code: " + SystemMessage(GetLastError()));
        return kExitFailure;
    }
    return static_cast<int>(exitCode);
}

bool PrintAndFlush(const char* text) {
    return std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0;
}

bool PictureFrame(const CaptureOptions& options, CaptureImage& image) {
    const Imaging imaging;
    std::string reason;
    if (!imaging.Ready(reason, SystemMessage) ||
        !DecodePictureFile(imaging, options.imagePath, options.page, options.fit, image, reason,
                           SystemMessage)) {
        Report(options.imagePath, reason);
        return false;
    }
    return true;
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
        !PlanFrameSize(static_cast<unsigned long long>(area.width),
                       static_cast<unsigned long long>(area.height), options.fit,
                       SourceWord(options.source), frameWidth, frameHeight, reason) ||
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
    if (!imaging.Ready(reason, SystemMessage) ||
        !ScaleToFrame(imaging, pixels.data(), width, height, frameWidth, frameHeight, image, reason,
                      SystemMessage)) {
        Report(SourceName(options), reason);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const CaptureOptions options = ParseCaptureOptions(argc, argv);
    switch (options.action) {
    case CaptureAction::kHelp:
        return PrintAndFlush(kCaptureUsage) ? kExitSuccess : kExitFailure;
    case CaptureAction::kVersion:
        return PrintAndFlush(kCaptureVersion) ? kExitSuccess : kExitFailure;
    case CaptureAction::kUsageError:
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgramName, options.error.c_str(),
                     kProgramName);
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
