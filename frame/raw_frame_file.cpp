#include "app/application_record.h"
#include "core/raw_frame_path.h"
#include "core/win32_handles.h"
#include "core/frame_header.h"

bool ApplicationRecord::ReadRawFrameFile(FrameBuffer* destination, DWORD* size) {
    char windowsDirectory[MAX_PATH];
    const UINT directoryLength = GetWindowsDirectoryA(windowsDirectory, MAX_PATH);
    // An empty path keeps the teardown from deleting anything.
    if (!BuildRawFramePath(windowsDirectory, directoryLength, rawFilePath)) {
        return false;
    }
    if (destination == nullptr) {
        return false;
    }

    // Never more than the block holds, whatever the caller asks for.
    const DWORD wanted = *size < kFrameBufferBytes ? *size : kFrameBufferBytes;
    // No sharing: nobody may change the file while it is read.
    KernelHandle file(CreateFileA(rawFilePath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD bytesRead = 0;
    if (!ReadFile(file.get(), destination->bytes(), wanted, &bytesRead, nullptr)) {
        bytesRead = 0; // what a failed read delivered cannot be trusted
    }
    *size = bytesRead;
    return IsUsableFrame(destination->bytes(), bytesRead, kFrameBufferBytes);
}
