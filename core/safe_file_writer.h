#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>

// How a file is put in place.
enum class WriteRoad {
    // Through a temporary file in the target's folder, which then replaces
    // the target in one move: a failure leaves the target as it was.
    kTemporaryBeside,
    // The same, with the temporary file named through the folder's short
    // (8.3) form, for a folder too long for a temporary name of its own.
    kTemporaryViaShortFolder,
    // Straight into the target, where no temporary name can be had on its
    // volume at all, or where the folder refuses new files but the target
    // may still be replaced; a failed write then loses the old file.
    kDirect,
};

// GetTempFileNameA refuses a folder longer than this.
constexpr std::size_t kTempFileFolderLimit = MAX_PATH - 14;

// The road for a target in a folder of folderLength characters whose short
// form has shortFolderLength characters (0 when it has none), given why the
// temporary file could not be made there (0 before it was tried).
WriteRoad ChooseWriteRoad(std::size_t folderLength, std::size_t shortFolderLength,
                          DWORD temporaryError = 0, std::size_t limit = kTempFileFolderLimit);

// The length of path's folder with its final backslash, 0 for a bare name.
// The trail byte of a double-byte character of codePage (CP_ACP for the
// file functions' own) is never taken for a backslash.
std::size_t FolderLength(const char* path, UINT codePage = CP_ACP);

// One checked write request: 0, the system's error, or ERROR_HANDLE_DISK_FULL
// for a write that took fewer bytes than it was given.
DWORD WriteAll(HANDLE file, const void* data, DWORD count);

// Puts a file at target whose contents writeContents writes to the open
// handle it is given (returning 0 or a system error code). Every write is
// checked and the file flushed before it takes the target's place; on
// failure no temporary file is left behind. The temporary name starts with
// prefix (at most three characters). Returns 0 or a system error code. A
// failed write straight into the target whose remains cannot be deleted
// leaves a cut-short file there; cutShortLeft, when given, tells so.
DWORD WriteFileSafely(const char* target, const char* prefix,
                      const std::function<DWORD(HANDLE)>& writeContents,
                      bool* cutShortLeft = nullptr);

// How both programs tell of that file, after the reason for the failure.
constexpr char kCutShortLeft[] =
    "what was written could not be removed: the file there is cut short";
