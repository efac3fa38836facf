#include "support/capture_run.h"

#include "support/files.h"
#include "support/image_magick.h"
#include "support/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

constexpr DWORD kRunDeadlineMs = 60000;

} // namespace

std::string ScratchPath(const std::string& name) {
    const std::string folder = TestFolder() + "capture-scratch\\";
    CreateDirectoryA(folder.c_str(), nullptr); // there already after the first call
    return folder + name;
}

std::string TextOf(const std::string& path) {
    std::string text;
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' || i + 1 == bytes.size() || bytes[i + 1] != '\n') {
            text += static_cast<char>(bytes[i]);
        }
    }
    return text;
}

CaptureRun RunCapture(const std::string& arguments, const std::string& exe) {
    CaptureRun run;
    const std::string outPath = ScratchPath("stdout.txt");
    const std::string errPath = ScratchPath("stderr.txt");
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    startup.hStdError = CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string command = "\"" + exe + "\" " + arguments;
    PROCESS_INFORMATION process = {};
    const bool started = startup.hStdOutput != INVALID_HANDLE_VALUE &&
                         startup.hStdError != INVALID_HANDLE_VALUE &&
                         CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    // Our copies only: a failed close cannot lose what the child wrote.
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    if (!started) {
        ADD_FAILURE() << "cannot start " << command << ": error " << GetLastError();
        return run;
    }
    const DWORD start = GetTickCount();
    bool ended = false;
    while (!ended && GetTickCount() - start < kRunDeadlineMs) {
        ended = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT) ==
                WAIT_OBJECT_0;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
    if (!ended) {
        ADD_FAILURE() << command << " did not end within " << kRunDeadlineMs << " ms";
        TerminateProcess(process.hProcess, run.exitCode); // failing already; best effort
    } else if (!GetExitCodeProcess(process.hProcess, &run.exitCode)) {
        ADD_FAILURE() << "no exit code for " << command;
    }
    CloseHandle(process.hThread); // nothing was written through these
    CloseHandle(process.hProcess);
    run.out = TextOf(outPath);
    run.err = TextOf(errPath);
    return run;
}

std::string RgbPicture::At(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    return std::to_string(rgb.at(at)) + "," + std::to_string(rgb.at(at + 1)) + "," +
           std::to_string(rgb.at(at + 2));
}

bool MakeImage(const std::vector<RgbPicture>& pages, const std::string& options,
               const std::string& path, const std::string& format) {
    std::vector<std::string> arguments = {"-depth", "8"};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string page = ScratchPath("page" + std::to_string(i) + ".rgb");
        if (!WriteFileBytes(page, pages[i].rgb)) {
            return false;
        }
        arguments.insert(arguments.end(),
                         {"-size",
                          std::to_string(pages[i].width) + "x" + std::to_string(pages[i].height),
                          "rgb:" + UnixPath(page)});
    }
    std::istringstream words(options);
    for (std::string word; words >> word;) {
        arguments.push_back(word);
    }
    return ConvertWithImageMagick(arguments, path, format);
}

RgbPicture ReadRawFrame() {
    const std::vector<std::uint8_t> file = ReadFileBytes(RawFramePath());
    RgbPicture picture;
    if (file.size() < 24) {
        return picture;
    }
    auto le32 = [&](std::size_t at) {
        return static_cast<long long>(file[at] | file[at + 1] << 8 | file[at + 2] << 16 |
                                      static_cast<std::uint32_t>(file[at + 3]) << 24);
    };
    const long long width = le32(16);
    const long long height = le32(20);
    if (std::string(file.begin(), file.begin() + 8) != "OXRAWFRM" || le32(8) != 1 ||
        le32(12) != 0 || width < 1 || height < 1 ||
        file.size() != 24 + static_cast<std::size_t>(width * height * 3)) {
        return picture;
    }
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    // Bottom row first in the file, blue-green-red in each pixel.
    for (long long y = 0; y < height; ++y) {
        const std::size_t row = 24 + static_cast<std::size_t>((height - 1 - y) * width * 3);
        for (long long x = 0; x < width; ++x) {
            const std::uint8_t* pixel = &file[row + static_cast<std::size_t>(x) * 3];
            picture.rgb.insert(picture.rgb.end(), {pixel[2], pixel[1], pixel[0]});
        }
    }
    return picture;
}

std::string Difference(const RgbPicture& got, const RgbPicture& expected, int tolerance) {
    if (got.width != expected.width || got.height != expected.height) {
        return "size " + std::to_string(got.width) + "x" + std::to_string(got.height) +
               ", expected " + std::to_string(expected.width) + "x" +
               std::to_string(expected.height);
    }
    for (std::size_t i = 0; i < got.rgb.size(); ++i) {
        if (std::abs(got.rgb[i] - expected.rgb[i]) > tolerance) {
            const int pixel = static_cast<int>(i / 3);
            const int x = pixel % got.width;
            const int y = pixel / got.width;
            return "pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                   got.At(x, y) + ", expected " + expected.At(x, y);
        }
    }
    return "";
}
