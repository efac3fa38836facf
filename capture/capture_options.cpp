#include "capture/capture_options.h"

#include "capture/capture_image.h"

#include <algorithm>
#include <charconv>
#include <climits>

namespace {

constexpr char kOneSource[] =
    "only one source may be given: a picture file, --screen, --region or --window";

enum class Number { kRead, kMalformed, kTooLarge };

// Decimal digits in text[begin, end), after a minus sign where signed allows
// one. Too large when its magnitude passes limit, however many digits it
// has: nothing is cut or wrapped.
Number ReadNumber(const std::string& text, std::size_t begin, std::size_t end, bool isSigned,
                  long long limit, long long& value) {
    if (begin >= end || (text[begin] == '-' && !isSigned)) {
        return Number::kMalformed;
    }
    const char* last = text.data() + end;
    long long read = 0;
    const std::from_chars_result result = std::from_chars(text.data() + begin, last, read);
    if (result.ptr != last) {
        return Number::kMalformed;
    }
    if (result.ec == std::errc::result_out_of_range || read > limit || read < -limit) {
        return Number::kTooLarge;
    }
    if (result.ec != std::errc()) {
        return Number::kMalformed;
    }
    value = read;
    return Number::kRead;
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
    // A missing cross leaves the second part empty, and so malformed.
    const std::size_t cross = std::min(text.find_first_of("xX"), text.size());
    long long w = 0;
    long long h = 0;
    const Number readW = ReadNumber(text, 0, cross, false, kMaxCaptureWidth, w);
    const Number readH = ReadNumber(text, cross + 1, text.size(), false, kMaxCaptureHeight, h);
    if (readW == Number::kMalformed || readH == Number::kMalformed) {
        error = "invalid size '" + text + "' (expected WIDTHxHEIGHT, such as 800x600)";
        return false;
    }
    if ((readW == Number::kRead && w < 1) || (readH == Number::kRead && h < 1)) {
        error = "invalid size '" + text + "': width and height must be at least 1";
        return false;
    }
    if (readW != Number::kRead || readH != Number::kRead) {
        error = "invalid size '" + text + "': at most 1280x1024";
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool ParseRegion(const std::string& text, ScreenArea& region, std::string& error) {
    // A missing separator leaves the parts after it empty, and so malformed.
    const std::size_t comma1 = std::min(text.find(','), text.size());
    const std::size_t comma2 = std::min(text.find(',', comma1 + 1), text.size());
    const std::size_t cross = std::min(text.find_first_of("xX", comma2 + 1), text.size());
    ScreenArea parsed;
    // Desktop coordinates are 32-bit: a larger number names no place on it.
    const Number parts[] = {
        ReadNumber(text, 0, comma1, true, INT_MAX, parsed.x),
        ReadNumber(text, comma1 + 1, comma2, true, INT_MAX, parsed.y),
        ReadNumber(text, comma2 + 1, cross, false, INT_MAX, parsed.width),
        ReadNumber(text, cross + 1, text.size(), false, INT_MAX, parsed.height)};
    for (const Number part : parts) {
        if (part == Number::kMalformed) {
            error =
                "invalid region '" + text + "' (expected X,Y,WIDTHxHEIGHT, such as 0,0,800x600)";
            return false;
        }
    }
    for (const Number part : parts) {
        if (part == Number::kTooLarge) {
            error = "invalid region '" + text + "': a number in it is too large (at most " +
                    std::to_string(INT_MAX) + ")";
            return false;
        }
    }
    region = parsed;
    return true;
}

bool ParseDelay(const std::string& text, unsigned long& milliseconds, std::string& error) {
    const std::size_t point = std::min(text.find('.'), text.size());
    const std::string fraction = point < text.size() ? text.substr(point + 1) : "0";
    long long seconds = 0;
    const Number whole = ReadNumber(text, 0, point, false, kMaxDelayMs / 1000, seconds);
    if (whole == Number::kMalformed || fraction.empty() ||
        fraction.find_first_not_of("0123456789") != std::string::npos) {
        error = "invalid delay '" + text + "' (expected seconds, such as 3 or 0.5)";
        return false;
    }
    // Milliseconds from the first three digits of the fraction.
    long long total = seconds * 1000;
    for (std::size_t i = 0, scale = 100; i < fraction.size() && scale > 0; ++i, scale /= 10) {
        total += (fraction[i] - '0') * static_cast<long long>(scale);
    }
    if (whole == Number::kTooLarge || total > static_cast<long long>(kMaxDelayMs)) {
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
        return "region " + options.regionText;
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
        if (!optionsEnded && argument == "/?") {
            options.action = CaptureAction::kHelp;
            return options;
        }
        if (!isOption) {
            if (argument.empty()) {
                return UsageError("the picture file name is empty");
            }
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
                options.regionText = value; // echoed as typed
                if (!region && value.empty()) {
                    return UsageError("option '--window' requires a window title");
                }
                options.windowTitle = region ? "" : value;
            } else if (name == "--page") {
                // A page is counted in 32 bits, as the decoders count them.
                constexpr long long kMaxPage = 0xFFFFFFFFll;
                long long page = 0;
                const Number read = ReadNumber(value, 0, value.size(), false, kMaxPage, page);
                if (read == Number::kTooLarge) {
                    return UsageError("invalid page '" + value + "': at most " +
                                      std::to_string(kMaxPage));
                }
                if (read == Number::kMalformed || page < 1) {
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
