#pragma once

// Where the tests find the programs and the files the programs share.

#include <windows.h>

#include <algorithm>
#include <string>

// The folder of the running test program, with its backslash: build\tests\.
inline std::string TestFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path, length < MAX_PATH ? length : 0);
    return program.substr(0, program.find_last_of('\\') + 1);
}

// The build folder, where oxview.exe and oxcapture.exe are: the test folder's parent.
inline std::string BuildFolder() {
    const std::string tests = TestFolder(); // "...\build\tests\"
    return tests.substr(0, tests.find_last_of('\\', tests.size() - 2) + 1);
}

inline std::string ViewerPath() {
    return BuildFolder() + "oxview.exe";
}

inline std::string CapturePath() {
    return BuildFolder() + "oxcapture.exe";
}

// The Temp folder under the Windows directory, with its backslash.
inline std::string WindowsTempFolder() {
    char directory[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory, length < MAX_PATH ? length : 0) + "\\Temp\\";
}

// Spelled out rather than asked of the viewer's code, so a wrong place shows.
inline std::string RawFramePath() {
    return WindowsTempFolder() + "oximg.raw";
}

// A Windows path under Wine's Z: drive as the Unix path it names.
inline std::string UnixPath(const std::string& windowsPath) {
    std::string path = windowsPath.substr(2); // drop "Z:"
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
