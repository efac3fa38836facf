#include "core/safe_file_writer.h"

#include "core/win32_handles.h"

#include <cstring>

namespace {

// The folder part of path with its final backslash, or "." for a bare name.
void FolderOf(const char* path, char (&folder)[MAX_PATH]) {
    const std::size_t length = FolderLength(path);
    if (length == 0 || length >= MAX_PATH) {
        std::strcpy(folder, ".");
        return;
    }
    std::memcpy(folder, path, length);
    folder[length] = '\0';
}

// Creates path, lets writeContents fill it, flushes and closes it. opened
// tells whether path was created or emptied by this call.
DWORD WriteWhole(const char* path, const std::function<DWORD(HANDLE)>& writeContents,
                 bool& opened) {
    KernelHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    opened = file.valid();
    if (!opened) {
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

DWORD WriteDirectly(const char* target, const std::function<DWORD(HANDLE)>& writeContents,
                    bool* cutShortLeft) {
    bool opened = false;
    const DWORD error = WriteWhole(target, writeContents, opened);
    // A half-written file must not pass for a good one; the old one is lost
    // already. A file this save could not open (hidden, or held by another
    // program) is not its to delete. A folder that refuses new files may
    // refuse this too: the caller then tells of the file left behind.
    if (error != 0 && opened && !DeleteFileA(target) && cutShortLeft != nullptr) {
        *cutShortLeft = true;
    }
    return error;
}

} // namespace

WriteRoad ChooseWriteRoad(std::size_t folderLength, std::size_t shortFolderLength,
                          DWORD temporaryError, std::size_t limit) {
    // A folder that lets the user replace files but not add any: the target
    // can still be written in place.
    if (temporaryError == ERROR_ACCESS_DENIED) {
        return WriteRoad::kDirect;
    }
    if (folderLength <= limit) {
        return WriteRoad::kTemporaryBeside;
    }
    if (shortFolderLength != 0 && shortFolderLength <= limit) {
        return WriteRoad::kTemporaryViaShortFolder;
    }
    return WriteRoad::kDirect;
}

std::size_t FolderLength(const char* path, UINT codePage) {
    std::size_t length = 0;
    for (std::size_t i = 0; path[i] != '\0'; ++i) {
        if (path[i] == '\\') {
            length = i + 1;
        } else if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(path[i])) && path[i + 1] != '\0') {
            ++i; // the trail byte may be 0x5C, a backslash in any one-byte code page
        }
    }
    return length;
}

DWORD WriteAll(HANDLE file, const void* data, DWORD count) {
    DWORD written = 0;
    if (!WriteFile(file, data, count, &written, nullptr)) {
        return GetLastError();
    }
    return written == count ? 0 : ERROR_HANDLE_DISK_FULL;
}

DWORD WriteFileSafely(const char* target, const char* prefix,
                      const std::function<DWORD(HANDLE)>& writeContents, bool* cutShortLeft) {
    if (cutShortLeft != nullptr) {
        *cutShortLeft = false;
    }
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
        return WriteDirectly(target, writeContents, cutShortLeft);
    }

    char temporary[MAX_PATH];
    const char* temporaryFolder = road == WriteRoad::kTemporaryBeside ? folder : shortFolder;
    DWORD error = 0;
    bool opened = false;
    // Windows refuses the name where no file may be added; Wine hands one
    // out and refuses the file itself.
    if (GetTempFileNameA(temporaryFolder, prefix, 0, temporary) == 0) {
        error = GetLastError();
    } else {
        error = WriteWhole(temporary, writeContents, opened);
        if (error == 0 && !MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING)) {
            error = GetLastError();
        }
        if (error != 0) {
            DeleteFileA(temporary); // best effort; the failure itself is reported
        }
    }
    if (error != 0 && !opened &&
        ChooseWriteRoad(folderLength, shortLength, error) == WriteRoad::kDirect) {
        return WriteDirectly(target, writeContents, cutShortLeft);
    }
    return error;
}
