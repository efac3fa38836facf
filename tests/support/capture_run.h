#pragma once

// Runs the real oxcapture.exe as a separate process, as a script would, and
// reads what it leaves: its output and the raw frame file.

#include "support/frame_bytes.h"
#include "support/image_magick.h"
#include "support/paths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

struct CaptureRun {
    long exitCode = -1; // also when it could not start or did not end: err says which
    std::string out;    // with the C runtime's CR LF line ends turned back into LF
    std::string err;
    SIZE_T peakMemory = 0; // its peak working set, as sampled while it ran
};

// Runs exe with arguments (UTF-8) and waits for it up to deadlineMs, pumping
// this thread's messages meanwhile, so that a window of the test stays painted.
CaptureRun RunCapture(const std::string& arguments, const std::string& exe = CapturePath(),
                      DWORD deadlineMs = 60000);

// A refusal: exit code 1, nothing on standard output, and one line on
// standard error that starts with start. Checked with EXPECT_TRUE.
::testing::AssertionResult Refused(const CaptureRun& run, const std::string& start);

// The raw frame file as a frame; empty when it is missing or malformed.
Frame ReadRawFrame();
