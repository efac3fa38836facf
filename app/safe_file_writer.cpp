#include "app/safe_file_writer.h"

#include "app/win32_handles.h"

#include <cstring>

namespace {

// The folder part of path with its final backslash, or "." for a bare name.
void FolderOf(const char* path, char (&folder)[MAX_PATH]) {
    const char* slash = std::strrchr(path, '\\');
    const std::size_t length = slash != nullptr ? static_cast<std::size_t>(slash - path) + 1 : 0;
    if (length == 0 || length >= MAX_PATH) {
        std::strcpy(folder, ".");
        return;
    }
    std::memcpy(folder, path, length);
    folder[length] = '\0';
}

// Creates path, lets writeContents fill it, flushes and closes it.
DWORD WriteWhole(const char* path, const std::function<DWORD(HANDLE)>& writeContents) {
    KernelHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return GetLastError();
    }
    if (DWORD error = writeContents(file.get())) {
        return error;
    }
    if (!FlushFileBuffers(file.get())) {
        return GetLastError();
    }
    return file.Close() ? 0 : GetLastError();
}

} // namespace

WriteRoad ChooseWriteRoad(std::size_t folderLength, std::size_t shortFolderLength,
                          std::size_t limit) {
    if (folderLength <= limit) {
        return WriteRoad::kTemporaryBeside;
    }
    if (shortFolderLength != 0 && shortFolderLength <= limit) {
        return WriteRoad::kTemporaryViaShortFolder;
    }
    return WriteRoad::kDirect;
}

DWORD WriteAll(HANDLE file, const void* data, DWORD count) {
    DWORD written = 0;
    if (!WriteFile(file, data, count, &written, nullptr)) {
        return GetLastError();
    }
    return written == count ? 0 : ERROR_HANDLE_DISK_FULL;
}

DWORD WriteFileSafely(const char* target, const char* prefix,
                      const std::function<DWORD(HANDLE)>& writeContents) {
    char folder[MAX_PATH];
    FolderOf(target, folder);
    const std::size_t folderLength = std::strlen(folder);

    // Asked only where the folder itself is too long: most volumes give
    // every folder a short form, and a temporary file named through it
    // still lies beside the target.
    char shortFolder[MAX_PATH] = "";
    std::size_t shortLength = 0;
    if (folderLength > kTempFileFolderLimit) {
        const DWORD length = GetShortPathNameA(folder, shortFolder, MAX_PATH);
        shortLength = length < MAX_PATH ? length : 0; // 0: none, or too long for the buffer
    }

    const WriteRoad road = ChooseWriteRoad(folderLength, shortLength);
    if (road == WriteRoad::kDirect) {
        const DWORD error = WriteWhole(target, writeContents);
        if (error != 0) {
            // A half-written file must not pass for a good one; the old one is
            // lost already. If even this fails, the error above is reported.
            DeleteFileA(target);
        }
        return error;
    }

    char temporary[MAX_PATH];
    const char* temporaryFolder = road == WriteRoad::kTemporaryBeside ? folder : shortFolder;
    if (GetTempFileNameA(temporaryFolder, prefix, 0, temporary) == 0) {
        return GetLastError();
    }
    DWORD error = WriteWhole(temporary, writeContents);
    if (error == 0 && !MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING)) {
        error = GetLastError();
    }
    if (error != 0) {
        DeleteFileA(temporary); // best effort; the failure itself is reported
    }
    return error;
}
