#pragma once

// Whole files in and out, and what a folder holds, for every test that
// looks at what the programs leave on disk.

#include "support/frame_bytes.h"
#include "support/paths.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The file's bytes; empty when it cannot be read.
inline std::vector<BYTE> ReadFileBytes(const std::string& path) {
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty() &&
        !ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        read = 0;
    }
    bytes.resize(read);
    CloseHandle(file); // opened for reading: nothing to lose
    return bytes;
}

inline bool WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        bytes.empty() ||
        (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size());
    return CloseHandle(file) && ok;
}

// The names in folder (with its backslash) that match pattern, sorted.
inline std::vector<std::string> FileNames(const std::string& folder,
                                          const std::string& pattern = "*") {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search); // a search handle only: nothing to lose
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Makes a folder of exactly length characters below base (which ends in a
// backslash), its parts named from part and a number, and returns it with
// its backslash. Parts of at most 8 characters below a base in 8.3 form
// give a folder with no shorter name.
inline std::string MakeDeepFolder(std::string folder, std::size_t length, const std::string& part) {
    for (int i = 0; folder.size() < length; ++i) {
        const std::string name = part + std::to_string(i);
        const std::size_t room = length - folder.size() - 1; // the backslash takes one
        std::size_t take = std::min(name.size(), room);
        if (room - take == 1) {
            --take; // a last part of no characters would end in two backslashes
        }
        folder += name.substr(0, take) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr); // there already after an earlier run
    }
    return folder;
}

// Puts the frame where the viewer looks for it, as oxcapture writes it.
inline bool PlaceRawFrame(const Frame& frame) {
    return WriteFileBytes(RawFramePath(), RawFrameBytes(frame));
}
