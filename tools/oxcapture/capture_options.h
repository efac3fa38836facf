#pragma once

#include <string>

// Exit codes besides the viewer's own, which a waiting run passes on.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr int kDefaultPatternWidth = 640;
constexpr int kDefaultPatternHeight = 480;

enum class CaptureAction { kCapture, kHelp, kVersion, kUsageError };

struct CaptureOptions {
    CaptureAction action = CaptureAction::kCapture;
    // Empty for the test pattern.
    std::string imagePath;
    int patternWidth = kDefaultPatternWidth;
    int patternHeight = kDefaultPatternHeight;
    bool startViewer = true;
    bool waitForViewer = true;
    // For kUsageError: one line, without the program's name.
    std::string error;
};

// Reads argv[1..argc-1]. Options may come before or after the file; "--"
// ends them. --help (or -h) and --version win over what follows them.
CaptureOptions ParseCaptureOptions(int argc, const char* const* argv);

// "WIDTHxHEIGHT" in decimal digits, each from 1 up to 1280 and 1024. On
// failure error holds a one-line reason and the sizes are untouched.
bool ParseFrameSize(const std::string& text, int& width, int& height, std::string& error);

// The --help text.
extern const char kCaptureUsage[];
extern const char kCaptureVersion[];
