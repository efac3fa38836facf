#pragma once

// Runs the real oxcapture.exe as a separate process, as a script would, and
// makes and reads the files around it: pictures made by ImageMagick, and the
// raw frame file the program leaves.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// build\oxcapture.exe, beside the folder of the test programs.
std::string CaptureExe();
// A file of the tests' own on Wine's Z: drive, so ImageMagick can reach it too.
std::string ScratchPath(const std::string& name);
// The Unix path of a Windows path on the Z: drive.
std::string UnixPathOf(const std::string& windowsPath);
// A file's text, with the C runtime's CR LF line ends turned back into LF.
std::string TextOf(const std::string& path);
std::vector<std::uint8_t> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

struct CaptureRun {
    DWORD exitCode = 0xDEADBEEF;
    std::string out;
    std::string err;
};

// Runs exe with arguments and waits for it, handling this thread's window
// messages meanwhile, so that a window of the test stays painted.
CaptureRun RunCapture(const std::string& arguments, const std::string& exe = CaptureExe());

// A picture, top row first, three bytes a pixel: red, green, blue.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    std::string At(int x, int y) const; // "red,green,blue"
};

// Writes the pages as one picture file with ImageMagick's convert: the
// format follows the name's extension or a prefix such as "BMP3:"; options
// go before the output name.
bool MakeImage(const std::vector<RgbPicture>& pages, const std::string& options,
               const std::string& path, const std::string& prefix = "");

// The raw frame file in the Windows Temp folder, as a picture; empty when it
// is missing or its header or length is wrong.
RgbPicture ReadRawFrame();
std::string RawFrameFilePath();

// Where two pictures first differ by more than tolerance in a channel, or
// "" where they do not.
std::string Difference(const RgbPicture& got, const RgbPicture& expected, int tolerance = 0);
