#include "support/capture_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

constexpr DWORD kRunDeadlineMs = 60000;

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string TestFolder() {
    char module[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    return length < MAX_PATH ? FolderOf(std::string(module, length)) : "";
}

// Under Wine a Linux program runs on its own: its process handle cannot be
// waited on. The shell leaves convert's exit status in a file, moved into
// place in one step once convert has ended.
int RunConvert(const std::string& arguments) {
    const std::string status = ScratchPath("convert-status");
    DeleteFileA(status.c_str()); // from an earlier call
    const std::string statusUnix = UnixPathOf(status);
    std::string command = "/bin/sh -c \"/usr/bin/convert " + arguments + "; echo $? >" +
                          statusUnix + ".tmp && mv " + statusUnix + ".tmp " + statusUnix + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << command << ": error " << GetLastError();
        return -1;
    }
    CloseHandle(process.hThread); // handles of a Linux process: nothing to wait for
    CloseHandle(process.hProcess);
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(status.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > kRunDeadlineMs) {
            ADD_FAILURE() << command << " did not end within " << kRunDeadlineMs << " ms";
            return -1;
        }
        Sleep(20);
    }
    return std::atoi(TextOf(status).c_str());
}

} // namespace

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    file.close();
    return !file.fail();
}

std::string CaptureExe() {
    const std::string tests = TestFolder();
    return tests.empty() ? "" : FolderOf(tests.substr(0, tests.size() - 1)) + "oxcapture.exe";
}

std::string ScratchPath(const std::string& name) {
    const std::string folder = TestFolder() + "capture-scratch\\";
    CreateDirectoryA(folder.c_str(), nullptr); // there already after the first call
    return folder + name;
}

std::string UnixPathOf(const std::string& windowsPath) {
    std::string path = windowsPath.compare(0, 2, "Z:") == 0 ? windowsPath.substr(2) : windowsPath;
    for (char& c : path) {
        c = c == '\\' ? '/' : c;
    }
    return path;
}

std::string TextOf(const std::string& path) {
    std::string text;
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
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
               const std::string& path, const std::string& prefix) {
    std::string inputs;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string page = ScratchPath("page" + std::to_string(i) + ".rgb");
        if (!WriteBytes(page, pages[i].rgb)) {
            return false;
        }
        inputs += " -size " + std::to_string(pages[i].width) + "x" +
                  std::to_string(pages[i].height) + " rgb:" + UnixPathOf(page);
    }
    DeleteFileA(path.c_str()); // a stale picture must not pass for a new one
    return RunConvert("-depth 8" + inputs + " " + options + " " + prefix + UnixPathOf(path)) == 0 &&
           GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string RawFrameFilePath() {
    char directory[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory, length < MAX_PATH ? length : 0) + "\\Temp\\oximg.raw";
}

RgbPicture ReadRawFrame() {
    const std::vector<std::uint8_t> file = ReadBytes(RawFrameFilePath());
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
