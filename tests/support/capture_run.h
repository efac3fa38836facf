#pragma once

// Runs the real oxcapture.exe as a separate process, as a script would, and
// makes and reads the files around it: pictures made by ImageMagick, and the
// raw frame file the program leaves.

#include "support/frame_bytes.h"
#include "support/paths.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A file of the tests' own on Wine's Z: drive, so ImageMagick can reach it too.
std::string ScratchPath(const std::string& name);
// A file's text, with the C runtime's CR LF line ends turned back into LF.
std::string TextOf(const std::string& path);

struct CaptureRun {
    DWORD exitCode = 0xDEADBEEF;
    std::string out;
    std::string err;
};

// Runs exe with arguments (UTF-8, as the command line's wide text) and waits
// for it, up to deadlineMs, handling this thread's window messages
// meanwhile, so that a window of the test stays painted.
CaptureRun RunCapture(const std::string& arguments, const std::string& exe = CapturePath(),
                      DWORD deadlineMs = 60000);

// UTF-8 as the wide text Windows' W functions take.
std::wstring Wide(const std::string& utf8);

// Writes the pages as one picture file with ImageMagick: the format follows
// the name's extension unless one such as "BMP3" is given; options (words
// parted by blanks) go before the output name.
bool MakeImage(const std::vector<Frame>& pages, const std::string& options, const std::string& path,
               const std::string& format = "");

// The raw frame file in the Windows Temp folder as oxcapture writes it, as
// a frame; an empty one when it is missing or its header or length is wrong.
Frame ReadRawFrame();
