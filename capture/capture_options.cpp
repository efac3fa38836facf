#include "capture/capture_options.h"

#include "capture/capture_image.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <set>

namespace {

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
        error =
            "invalid size '" + text + "': at most " + SizeText(kMaxCaptureWidth, kMaxCaptureHeight);
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
        error = "invalid delay '" + text + "': at most " + std::to_string(kMaxDelayMs / 1000) +
                " seconds";
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

namespace {

// The command line as read so far.
struct ParseState {
    CaptureOptions options;
    bool optionsEnded = false;
    std::set<std::string> given; // each option given, by its first name
};

std::string SetSource(CaptureOptions& options, CaptureSource source) {
    // Every source but the pattern is given, so a second one shows.
    if (options.source != CaptureSource::kPattern) {
        return "only one source may be given: a picture file, --screen, --region or --window";
    }
    options.source = source;
    return "";
}

std::string TakePicture(const std::string& path, ParseState& state) {
    if (path.empty()) {
        return "the picture file name is empty";
    }
    if (state.options.source == CaptureSource::kFile) {
        return "only one image file may be given";
    }
    const std::string error = SetSource(state.options, CaptureSource::kFile);
    if (error.empty()) {
        state.options.imagePath = path;
    }
    return error;
}

// --help or --version: what the run is for instead of a capture.
template <CaptureAction action> std::string Ask(const std::string&, ParseState& state) {
    state.options.action = action;
    return "";
}

// A switch: the setting it turns on or off.
template <bool CaptureOptions::*setting, bool on>
std::string Turn(const std::string&, ParseState& state) {
    state.options.*setting = on;
    return "";
}

std::string EndOptions(const std::string&, ParseState& state) {
    state.optionsEnded = true;
    return "";
}

std::string TakeScreen(const std::string&, ParseState& state) {
    return SetSource(state.options, CaptureSource::kScreen);
}

std::string TakeRegion(const std::string& value, ParseState& state) {
    std::string error = SetSource(state.options, CaptureSource::kRegion);
    if (error.empty() && ParseRegion(value, state.options.region, error)) {
        state.options.regionText = value; // echoed as typed
    }
    return error;
}

std::string TakeWindow(const std::string& value, ParseState& state) {
    const std::string error = SetSource(state.options, CaptureSource::kWindow);
    if (error.empty() && value.empty()) {
        return "option '--window' requires a window title";
    }
    state.options.windowTitle = value;
    return error;
}

std::string TakeSize(const std::string& value, ParseState& state) {
    std::string error;
    ParseFrameSize(value, state.options.patternWidth, state.options.patternHeight, error);
    return error;
}

std::string TakePage(const std::string& value, ParseState& state) {
    // A page is counted in 32 bits, as the decoders count them.
    constexpr long long kMaxPage = 0xFFFFFFFFll;
    long long page = 0;
    const Number read = ReadNumber(value, 0, value.size(), false, kMaxPage, page);
    if (read == Number::kTooLarge) {
        return "invalid page '" + value + "': at most " + std::to_string(kMaxPage);
    }
    if (read == Number::kMalformed || page < 1) {
        return "invalid page '" + value + "' (expected a page number, from 1)";
    }
    state.options.page = static_cast<unsigned long>(page);
    return "";
}

std::string TakeDelay(const std::string& value, ParseState& state) {
    std::string error;
    ParseDelay(value, state.options.delayMs, error);
    return error;
}

// What an option does with its value (empty for one without): "" or the
// usage error. Setting options.action to help or version ends the reading.
using TakeValue = std::string (*)(const std::string& value, ParseState& state);

struct OptionRule {
    const char* names[3]; // as typed; unused ones null
    bool takesValue;      // as the next argument or after "="
    TakeValue take;
};

const OptionRule kOptions[] = {
    {{"--help", "-h", "/?"}, false, Ask<CaptureAction::kHelp>},
    {{"--version"}, false, Ask<CaptureAction::kVersion>},
    {{"--"}, false, EndOptions}, // what follows is the picture file
    {{"--screen"}, false, TakeScreen},
    {{"--region"}, true, TakeRegion},
    {{"--window"}, true, TakeWindow},
    {{"--size"}, true, TakeSize},
    {{"--page"}, true, TakePage},
    {{"--fit"}, false, Turn<&CaptureOptions::fit, true>},
    {{"--delay"}, true, TakeDelay},
    {{"--no-wait"}, false, Turn<&CaptureOptions::waitForViewer, false>},
    {{"--write-only"}, false, Turn<&CaptureOptions::startViewer, false>},
};

constexpr unsigned SourceBit(CaptureSource source) {
    return 1u << static_cast<unsigned>(source);
}
constexpr unsigned kAnySource = ~0u;
constexpr unsigned kScreenSources = SourceBit(CaptureSource::kScreen) |
                                    SourceBit(CaptureSource::kRegion) |
                                    SourceBit(CaptureSource::kWindow);

// An option that goes only with some sources, or not with another option.
struct Combination {
    const char* option;
    unsigned goesWith;   // the sources it may be given with
    const char* notWith; // an option it may not be given with, or null
    const char* refusal; // the usage error when either is broken
};

// Checked in this order once the whole line is read: the first broken one
// is the error.
const Combination kCombinations[] = {
    {"--size", SourceBit(CaptureSource::kPattern), nullptr,
     "--size sets the test pattern's size and cannot be used with an image or the screen"},
    {"--page", SourceBit(CaptureSource::kFile), nullptr, "--page goes only with a picture file"},
    {"--fit", SourceBit(CaptureSource::kFile) | kScreenSources, nullptr,
     "--fit goes only with a picture file or the screen"},
    {"--delay", kScreenSources, nullptr, "--delay goes only with --screen, --region or --window"},
    {"--no-wait", kAnySource, "--write-only", "--no-wait and --write-only cannot be used together"},
};

// The row that argument names, as "--name" or, for an option that takes a
// value, "--name=VALUE", whose value is put in inlineValue; null when none.
const OptionRule* FindOption(const std::string& argument, std::string& inlineValue,
                             bool& hasInline) {
    const std::size_t equals = argument.find('=');
    for (const OptionRule& rule : kOptions) {
        for (const char* name : rule.names) {
            hasInline = rule.takesValue && equals != std::string::npos && name != nullptr &&
                        argument.compare(0, equals, name) == 0;
            if (hasInline) {
                inlineValue = argument.substr(equals + 1);
            }
            if (hasInline || (name != nullptr && argument == name)) {
                return &rule;
            }
        }
    }
    return nullptr;
}

// Reads argv[i], and its value when that is the next argument.
std::string TakeArgument(int argc, const char* const* argv, int& i, ParseState& state) {
    const std::string argument = argv[i];
    const bool isOption =
        !state.optionsEnded && (argument == "/?" || (argument.size() > 1 && argument[0] == '-'));
    if (!isOption) {
        return TakePicture(argument, state);
    }
    std::string value;
    bool hasInline = false;
    const OptionRule* rule = FindOption(argument, value, hasInline);
    if (rule == nullptr) {
        return "unrecognized option '" + argument + "'";
    }
    if (rule->takesValue && !hasInline) {
        if (i + 1 >= argc) {
            return "option '" + argument + "' requires an argument";
        }
        value = argv[++i];
    }
    state.given.insert(rule->names[0]);
    return rule->take(value, state);
}

std::string CheckCombinations(const ParseState& state) {
    for (const Combination& rule : kCombinations) {
        const bool wrongSource = (rule.goesWith & SourceBit(state.options.source)) == 0;
        const bool partnerGiven = rule.notWith != nullptr && state.given.count(rule.notWith) != 0;
        if (state.given.count(rule.option) != 0 && (wrongSource || partnerGiven)) {
            return rule.refusal;
        }
    }
    return "";
}

CaptureOptions UsageError(const std::string& message) {
    CaptureOptions options;
    options.action = CaptureAction::kUsageError;
    options.error = message;
    return options;
}

} // namespace

CaptureOptions ParseCaptureOptions(int argc, const char* const* argv) {
    ParseState state;
    for (int i = 1; i < argc && state.options.action == CaptureAction::kCapture; ++i) {
        const std::string error = TakeArgument(argc, argv, i, state);
        if (!error.empty()) {
            return UsageError(error);
        }
    }
    // Help and version win over what follows them, and over every rule.
    if (state.options.action != CaptureAction::kCapture) {
        return state.options;
    }
    const std::string error = CheckCombinations(state);
    return error.empty() ? state.options : UsageError(error);
}
