#pragma once

#include "capture/capture_limits.h"

#include <string>

// Exit codes besides the viewer's own, which a waiting run passes on.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr int kDefaultPatternWidth = 640;
constexpr int kDefaultPatternHeight = 480;
// A person bringing up a window needs seconds, not hours.
constexpr unsigned long kMaxDelayMs = 3600ul * 1000ul;

enum class CaptureAction { kCapture, kHelp, kVersion, kUsageError };

// Where the frame comes from.
enum class CaptureSource { kPattern, kFile, kScreen, kRegion, kWindow };

struct CaptureOptions {
    CaptureAction action = CaptureAction::kCapture;
    CaptureSource source = CaptureSource::kPattern;
    std::string imagePath;   // kFile
    unsigned long page = 1;  // kFile: counting from 1
    ScreenArea region;       // kRegion
    std::string regionText;  // kRegion: as typed, for messages
    std::string windowTitle; // kWindow
    unsigned long delayMs = 0;
    bool fit = false; // a file or the screen: scale down what is too large
    int patternWidth = kDefaultPatternWidth;
    int patternHeight = kDefaultPatternHeight;
    bool startViewer = true;
    bool waitForViewer = true;
    // For kUsageError: one line, without the program's name.
    std::string error;
};

// Reads argv[1..argc-1], UTF-8 text. Options may come before or after the
// file; "--" ends them. Options with a value take it as the next argument or
// after "=". --help (or -h, or /? as Windows programs take it) and --version
// win over what follows them.
CaptureOptions ParseCaptureOptions(int argc, const char* const* argv);

// "WIDTHxHEIGHT" in decimal digits, each from 1 up to 1280 and 1024. On
// failure error holds a one-line reason and the sizes are untouched.
bool ParseFrameSize(const std::string& text, int& width, int& height, std::string& error);

// "X,Y,WIDTHxHEIGHT": X and Y decimal, maybe negative; the sizes decimal
// digits; none beyond 32-bit coordinates. Whether the region is on the
// desktop, or empty, is checked when capturing.
bool ParseRegion(const std::string& text, ScreenArea& region, std::string& error);

// Seconds, whole or with a decimal fraction ("3", "0.5"), at most an hour;
// kept to the millisecond.
bool ParseDelay(const std::string& text, unsigned long& milliseconds, std::string& error);

// What messages call a source: "image", "screen", "region" or "window" (or
// "test pattern"); and with its details, as the subject of a message about a
// capture: "screen", "region 0,0,8x8", "window 'Notes'" or the file's name.
const char* SourceWord(CaptureSource source);
std::string SourceName(const CaptureOptions& options);

// The --help text.
extern const char kCaptureUsage[];
extern const char kCaptureVersion[];
