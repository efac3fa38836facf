#include "tools/oxcapture/capture_options.h"

#include "tools/oxcapture/capture_image.h"

const char kCaptureUsage[] =
    "Usage: oxcapture [OPTION]... [IMAGE.bmp]\n"
    "Writes one frame to the raw frame file in the Temp folder under the Windows\n"
    "directory, then starts oxview.exe from this program's folder to show it.\n"
    "\n"
    "The frame is IMAGE.bmp (an uncompressed 24- or 32-bit BMP of at most\n"
    "1280x1024), or the built-in test pattern when no image is given.\n"
    "\n"
    "  --size WxH    size of the test pattern (default 640x480, at most 1280x1024)\n"
    "  --no-wait     return as soon as the viewer has started\n"
    "  --write-only  write the raw frame file only; do not start the viewer\n"
    "  -h, --help    show this help and exit\n"
    "  --version     show the version and exit\n"
    "\n"
    "Exit status: the viewer's exit code when waiting for it; otherwise 0 on\n"
    "success, 1 on an error, 2 on a bad command line.\n";

const char kCaptureVersion[] = "oxcapture 1.0\n";

namespace {

constexpr char kSizeOption[] = "--size";
constexpr char kSizeEquals[] = "--size=";
constexpr std::size_t kSizeEqualsLength = sizeof(kSizeEquals) - 1;

// Decimal digits only; saturates so that no input can overflow.
bool ParseDimension(const std::string& text, std::size_t begin, std::size_t end, long& value) {
    if (begin == end) {
        return false;
    }
    value = 0;
    for (std::size_t i = begin; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        if (value < 1000000) {
            value = value * 10 + (text[i] - '0');
        }
    }
    return true;
}

CaptureOptions UsageError(const std::string& message) {
    CaptureOptions options;
    options.action = CaptureAction::kUsageError;
    options.error = message;
    return options;
}

} // namespace

bool ParseFrameSize(const std::string& text, int& width, int& height, std::string& error) {
    const std::size_t cross = text.find_first_of("xX");
    long w = 0;
    long h = 0;
    if (cross == std::string::npos || !ParseDimension(text, 0, cross, w) ||
        !ParseDimension(text, cross + 1, text.size(), h)) {
        error = "invalid size '" + text + "' (expected WIDTHxHEIGHT, such as 800x600)";
        return false;
    }
    if (w < 1 || h < 1) {
        error = "invalid size '" + text + "': width and height must be at least 1";
        return false;
    }
    if (w > kMaxCaptureWidth || h > kMaxCaptureHeight) {
        error = "invalid size '" + text + "': at most 1280x1024";
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

CaptureOptions ParseCaptureOptions(int argc, const char* const* argv) {
    CaptureOptions options;
    bool sizeGiven = false;
    bool fileGiven = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            if (fileGiven) {
                return UsageError("only one image file may be given");
            }
            options.imagePath = argument;
            fileGiven = true;
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            options.action = CaptureAction::kHelp;
            return options;
        } else if (argument == "--version") {
            options.action = CaptureAction::kVersion;
            return options;
        } else if (argument == "--no-wait") {
            options.waitForViewer = false;
        } else if (argument == "--write-only") {
            options.startViewer = false;
        } else if (argument == kSizeOption ||
                   argument.compare(0, kSizeEqualsLength, kSizeEquals) == 0) {
            std::string value;
            if (argument == kSizeOption) {
                if (i + 1 >= argc) {
                    return UsageError("option '--size' requires an argument");
                }
                value = argv[++i];
            } else {
                value = argument.substr(kSizeEqualsLength);
            }
            std::string error;
            if (!ParseFrameSize(value, options.patternWidth, options.patternHeight, error)) {
                return UsageError(error);
            }
            sizeGiven = true;
        } else {
            return UsageError("unrecognized option '" + argument + "'");
        }
    }
    if (sizeGiven && fileGiven) {
        return UsageError("--size sets the test pattern's size and cannot be used with an image");
    }
    if (!options.startViewer && !options.waitForViewer) {
        return UsageError("--no-wait and --write-only cannot be used together");
    }
    return options;
}
