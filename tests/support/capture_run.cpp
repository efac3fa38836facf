#include "support/capture_run.h"

#include "support/files.h"
#include "support/image_magick.h"
#include "support/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

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

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0'); // never more units than bytes
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    &wide[0], static_cast<int>(wide.size())));
    return wide;
}

CaptureRun RunCapture(const std::string& arguments, const std::string& exe, DWORD deadlineMs) {
    CaptureRun run;
    const std::string outPath = ScratchPath("stdout.txt");
    const std::string errPath = ScratchPath("stderr.txt");
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    startup.hStdError = CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::string command = "\"" + exe + "\" " + arguments;
    std::wstring wideCommand = Wide(command);
    PROCESS_INFORMATION process = {};
    const bool started = startup.hStdOutput != INVALID_HANDLE_VALUE &&
                         startup.hStdError != INVALID_HANDLE_VALUE &&
                         CreateProcessW(Wide(exe).c_str(), &wideCommand[0], nullptr, nullptr, TRUE,
                                        0, nullptr, nullptr, &startup, &process);
    // Our copies only: a failed close cannot lose what the child wrote.
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    if (!started) {
        ADD_FAILURE() << "cannot start " << command << ": error " << GetLastError();
        return run;
    }
    const DWORD start = GetTickCount();
    bool ended = false;
    while (!ended && GetTickCount() - start < deadlineMs) {
        ended = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT) ==
                WAIT_OBJECT_0;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
    if (!ended) {
        ADD_FAILURE() << command << " did not end within " << deadlineMs << " ms";
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

bool MakeImage(const std::vector<Frame>& pages, const std::string& options, const std::string& path,
               const std::string& format) {
    std::vector<std::string> arguments = {"-depth", "8"};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string page = ScratchPath("page" + std::to_string(i) + ".rgb");
        if (!WriteFileBytes(page, FrameAsRgb(pages[i]))) {
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

Frame ReadRawFrame() {
    const Bytes file = ReadFileBytes(RawFramePath());
    if (file.size() < 24 || std::string(file.begin(), file.begin() + 16) !=
                                std::string("OXRAWFRM\1\0\0\0\0\0\0\0", 16)) {
        return Frame();
    }
    const Frame frame = FrameFromRawBytes(file);
    const bool whole =
        frame.width > 0 && frame.height > 0 && file.size() == 24 + frame.topFirst.size();
    return whole ? frame : Frame();
}
