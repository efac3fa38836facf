#include "capture/capture_options.h"

#include "capture/capture_image.h"

const char kCaptureUsage[] =
    "Usage: oxcapture [OPTION]... [PICTURE]\n"
    "Writes one frame to the raw frame file in the Temp folder under the Windows\n"
    "directory, then starts oxview.exe from this program's folder to show it.\n"
    "\n"
    "The frame comes from one source at most:\n"
    "  PICTURE           a picture file in any format the system's codecs read:\n"
    "                    PNG, JPEG, GIF, TIFF, BMP, ICO, ...\n"
    "  --screen          the primary screen\n"
    "  --region X,Y,WxH  a rectangle of the desktop: left, top, width, height\n"
    "  --window TITLE    the on-screen rectangle of the top-level window with\n"
    "                    that caption\n"
    "and is the built-in test pattern when none is given. The screen is captured\n"
    "before the viewer starts. Transparency is dropped: each pixel keeps its\n"
    "colour as if it were opaque. A frame holds at most 1280x1024 pixels.\n"
    "\n"
    "  --page N         which page of a picture with several (GIF, TIFF), from 1\n"
    "  --fit            scale a picture or capture larger than 1280x1024 down to\n"
    "                   the largest size that fits, keeping its aspect ratio\n"
    "                   (without it, such a source is refused)\n"
    "  --delay SECONDS  wait before capturing the screen, such as 3 or 0.5\n"
    "  --size WxH       size of the test pattern (default 640x480, at most\n"
    "                   1280x1024)\n"
    "  --no-wait        return as soon as the viewer has started\n"
    "  --write-only     write the raw frame file only; do not start the viewer\n"
    "  -h, --help       show this help and exit\n"
    "  --version        show the version and exit\n"
    "\n"
    "Exit status: the viewer's exit code when waiting for it; otherwise 0 on\n"
    "success, 1 on an error, 2 on a bad command line.\n";

// The project's version, given by the build; one place for both programs.
const char kCaptureVersion[] = "oxcapture " OXVIEW_VERSION "\n";

namespace {

constexpr char kOneSource[] =
    "only one source may be given: a picture file, --screen, --region or --window";

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

// As ParseDimension, with an optional minus sign.
bool ParseCoordinate(const std::string& text, std::size_t begin, std::size_t end,
                     long long& value) {
    const bool negative = begin < end && text[begin] == '-';
    long magnitude = 0;
    if (!ParseDimension(text, begin + (negative ? 1 : 0), end, magnitude)) {
        return false;
    }
    value = negative ? -static_cast<long long>(magnitude) : magnitude;
    return true;
}

CaptureOptions UsageError(const std::string& message) {
    CaptureOptions options;
    options.action = CaptureAction::kUsageError;
    options.error = message;
    return options;
}

bool IsScreenSource(CaptureSource source) {
    return source == CaptureSource::kScreen || source == CaptureSource::kRegion ||
           source == CaptureSource::kWindow;
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

bool ParseRegion(const std::string& text, ScreenArea& region, std::string& error) {
    const std::size_t comma1 = text.find(',');
    const std::size_t comma2 = comma1 == std::string::npos ? comma1 : text.find(',', comma1 + 1);
    const std::size_t cross =
        comma2 == std::string::npos ? comma2 : text.find_first_of("xX", comma2 + 1);
    ScreenArea parsed;
    long width = 0;
    long height = 0;
    if (cross == std::string::npos || !ParseCoordinate(text, 0, comma1, parsed.x) ||
        !ParseCoordinate(text, comma1 + 1, comma2, parsed.y) ||
        !ParseDimension(text, comma2 + 1, cross, width) ||
        !ParseDimension(text, cross + 1, text.size(), height)) {
        error = "invalid region '" + text + "' (expected X,Y,WIDTHxHEIGHT, such as 0,0,800x600)";
        return false;
    }
    parsed.width = width;
    parsed.height = height;
    region = parsed;
    return true;
}

bool ParseDelay(const std::string& text, unsigned long& milliseconds, std::string& error) {
    const std::size_t point = text.find('.');
    const std::size_t wholeEnd = point == std::string::npos ? text.size() : point;
    long seconds = 0;
    long fraction = 0;
    if (!ParseDimension(text, 0, wholeEnd, seconds) ||
        (point != std::string::npos && !ParseDimension(text, point + 1, text.size(), fraction))) {
        error = "invalid delay '" + text + "' (expected seconds, such as 3 or 0.5)";
        return false;
    }
    // Milliseconds from the first three digits of the fraction.
    unsigned long long total = static_cast<unsigned long long>(seconds) * 1000;
    if (point != std::string::npos) {
        unsigned long long scale = 100;
        for (std::size_t i = point + 1; i < text.size() && scale > 0; ++i, scale /= 10) {
            total += static_cast<unsigned long long>(text[i] - '0') * scale;
        }
    }
    if (total > kMaxDelayMs) {
        error = "invalid delay '" + text + "': at most 3600 seconds";
        return false;
    }
    milliseconds = static_cast<unsigned long>(total);
    return true;
}

const char* SourceWord(CaptureSource source) {
    switch (source) {
    case CaptureSource::kFile:
        return "image";
    case CaptureSource::kScreen:
        return "screen";
    case CaptureSource::kRegion:
        return "region";
    case CaptureSource::kWindow:
        return "window";
    default:
        return "test pattern";
    }
}

std::string SourceName(const CaptureOptions& options) {
    switch (options.source) {
    case CaptureSource::kFile:
        return options.imagePath;
    case CaptureSource::kRegion:
        return "region " + AreaText(options.region);
    case CaptureSource::kWindow:
        return "window '" + options.windowTitle + "'";
    default:
        return SourceWord(options.source);
    }
}

CaptureOptions ParseCaptureOptions(int argc, const char* const* argv) {
    CaptureOptions options;
    bool sizeGiven = false;
    bool pageGiven = false;
    bool delayGiven = false;
    bool optionsEnded = false;
    bool sourceGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        // The value of "--name VALUE" or "--name=VALUE"; false when argument
        // is another option.
        std::string value;
        bool valueMissing = false;
        auto takes = [&](const std::string& name) {
            if (argument == name) {
                valueMissing = i + 1 >= argc;
                value = valueMissing ? "" : argv[++i];
                return true;
            }
            if (argument.compare(0, name.size() + 1, name + "=") == 0) {
                value = argument.substr(name.size() + 1);
                return true;
            }
            return false;
        };
        auto setSource = [&](CaptureSource source) {
            if (sourceGiven) {
                return false;
            }
            options.source = source;
            sourceGiven = true;
            return true;
        };
        std::string error;
        if (!isOption) {
            if (options.source == CaptureSource::kFile) {
                return UsageError("only one image file may be given");
            }
            if (!setSource(CaptureSource::kFile)) {
                return UsageError(kOneSource);
            }
            options.imagePath = argument;
        } else if (argument == "--") {
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
        } else if (argument == "--fit") {
            options.fit = true;
        } else if (argument == "--screen") {
            if (!setSource(CaptureSource::kScreen)) {
                return UsageError(kOneSource);
            }
        } else if (takes("--size") || takes("--region") || takes("--window") || takes("--page") ||
                   takes("--delay")) {
            const std::string name = argument.substr(0, argument.find('='));
            if (valueMissing) {
                return UsageError("option '" + name + "' requires an argument");
            }
            if (name == "--size") {
                if (!ParseFrameSize(value, options.patternWidth, options.patternHeight, error)) {
                    return UsageError(error);
                }
                sizeGiven = true;
            } else if (name == "--region" || name == "--window") {
                const bool region = name == "--region";
                if (!setSource(region ? CaptureSource::kRegion : CaptureSource::kWindow)) {
                    return UsageError(kOneSource);
                }
                if (region && !ParseRegion(value, options.region, error)) {
                    return UsageError(error);
                }
                if (!region && value.empty()) {
                    return UsageError("option '--window' requires a window title");
                }
                options.windowTitle = region ? "" : value;
            } else if (name == "--page") {
                long page = 0;
                if (!ParseDimension(value, 0, value.size(), page) || page < 1) {
                    return UsageError("invalid page '" + value +
                                      "' (expected a page number, from 1)");
                }
                options.page = static_cast<unsigned long>(page);
                pageGiven = true;
            } else {
                if (!ParseDelay(value, options.delayMs, error)) {
                    return UsageError(error);
                }
                delayGiven = true;
            }
        } else {
            return UsageError("unrecognized option '" + argument + "'");
        }
    }
    if (sizeGiven && options.source != CaptureSource::kPattern) {
        return UsageError("--size sets the test pattern's size and cannot be used with an image "
                          "or the screen");
    }
    if (pageGiven && options.source != CaptureSource::kFile) {
        return UsageError("--page goes only with a picture file");
    }
    if (options.fit && options.source == CaptureSource::kPattern) {
        return UsageError("--fit goes only with a picture file or the screen");
    }
    if (delayGiven && !IsScreenSource(options.source)) {
        return UsageError("--delay goes only with --screen, --region or --window");
    }
    if (!options.startViewer && !options.waitForViewer) {
        return UsageError("--no-wait and --write-only cannot be used together");
    }
    return options;
}
