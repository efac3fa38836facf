#pragma once

// Whole files in and out, and what a folder holds, for the tests that look at what is left on disk.

#include "support/frame_bytes.h"
#include "support/paths.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// The file's bytes; empty when it cannot be read. Opened sharing delete too,
// which a stream denies, so that a program may replace the file meanwhile.
inline std::vector<BYTE> ReadFileBytes(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<BYTE> bytes;
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    BYTE chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    CloseHandle(file);
    return bytes;
}

inline bool WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

// The names in folder that end in extension (any, when empty), sorted.
inline std::vector<std::string> FileNames(const std::string& folder,
                                          const std::string& extension = "") {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (extension.empty() || entry.path().extension() == extension) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Puts the frame where the viewer looks for it, as oxcapture writes it.
inline bool PlaceRawFrame(const Frame& frame) {
    return WriteFileBytes(RawFramePath(), RawFrameBytes(frame));
}

// Owns the raw frame file for one test, as SettingsKeyGuard owns the key: gone before and after.
class RawFrameFileGuard {
  public:
    RawFrameFileGuard() { DeleteFileA(RawFramePath().c_str()); } // may not be there
    ~RawFrameFileGuard() { DeleteFileA(RawFramePath().c_str()); }
    RawFrameFileGuard(const RawFrameFileGuard&) = delete;
    RawFrameFileGuard& operator=(const RawFrameFileGuard&) = delete;
};
