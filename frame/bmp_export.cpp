#include "frame/bmp_export.h"

#include "app/application_record.h"
#include "app/win32_handles.h"
#include "frame/bmp_layout.h"
#include "frame/frame_header.h"

#include <commdlg.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace {

const char kSaveFilter[] = "BMP Files\0*.BMP\0";
constexpr DWORD kSaveDialogFlags = OFN_NOREADONLYRETURN | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;

class FileSink final : public BmpSink {
  public:
    explicit FileSink(HANDLE file) : file_(file) {}
    std::uint32_t Write(const std::uint8_t* data, std::uint32_t count) override {
        DWORD written = 0;
        if (!WriteFile(file_, data, count, &written, nullptr)) {
            return GetLastError();
        }
        return written == count ? 0 : ERROR_HANDLE_DISK_FULL;
    }

  private:
    HANDLE file_;
};

void ProgramFolder(char (&folder)[MAX_PATH]) {
    if (GetModuleFileNameA(nullptr, folder, MAX_PATH) == 0) {
        folder[0] = '\0'; // the dialog then opens in its own default folder
    }
    CutAfterLastBackslash(folder);
}

void ReportSaveFailure(HWND owner, const char* target, const char* caption, DWORD error) {
    char reason[512];
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, reason, sizeof(reason), nullptr) == 0) {
        wsprintfA(reason, "Error %lu.", error);
    }
    std::string text = "The picture could not be saved to\n";
    text += target;
    text += "\n\n";
    text += reason;
    // The user is told; there is nothing more to do if even the box fails.
    MessageBoxA(owner, text.c_str(), caption, MB_OK | MB_ICONERROR);
}

} // namespace

void CutAfterLastBackslash(char (&path)[MAX_PATH]) {
    path[MAX_PATH - 1] = '\0';
    for (size_t i = std::strlen(path); i > 1; --i) {
        if (path[i - 1] == '\\') {
            path[i] = '\0';
            return;
        }
    }
}

DWORD WriteFrameAsBmp(ApplicationRecord& record, BmpSink& sink) {
    if (record.frameBuffer == nullptr) {
        return ERROR_INVALID_DATA;
    }
    std::unique_ptr<BYTE[]> bottomFirst(new (std::nothrow) BYTE[kFrameBufferBytes]);
    if (!bottomFirst) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    if (!record.ReverseRowOrder(record.frameBuffer + kFrameHeaderBytes, bottomFirst.get(),
                                record.width, record.height)) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return StreamBmp(bottomFirst.get(), record.width, record.height, sink);
}

DWORD SaveFrameToBmpFile(ApplicationRecord& record, const char* target) {
    // The temporary file lies beside the target so that the final move stays
    // on one volume and replaces the target in one step.
    char folder[MAX_PATH];
    std::strncpy(folder, target, MAX_PATH);
    CutAfterLastBackslash(folder);
    if (std::strcmp(folder, target) == 0) {
        std::strcpy(folder, ".");
    }

    char temporary[MAX_PATH];
    if (GetTempFileNameA(folder, "oxv", 0, temporary) == 0) {
        return GetLastError();
    }

    DWORD error = 0;
    {
        FileHandle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            error = GetLastError();
        } else {
            FileSink sink(file.get());
            error = WriteFrameAsBmp(record, sink);
            if (error == 0 && !FlushFileBuffers(file.get())) {
                error = GetLastError();
            }
            if (error == 0 && !file.Close()) {
                error = GetLastError();
            }
        }
    }
    if (error == 0 && !MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING)) {
        error = GetLastError();
    }
    if (error != 0) {
        DeleteFileA(temporary); // best effort; the failure itself is reported
    }
    return error;
}

void ApplicationRecord::SaveAsBmp() {
    // Both buffers are made afresh: every Save proposes "Image.bmp" again.
    char fileName[MAX_PATH] = "Image.bmp";
    char initialFolder[MAX_PATH];
    ProgramFolder(initialFolder);

    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof(dialog));
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = window;
    dialog.hInstance = g_moduleInstance;
    dialog.lpstrFilter = kSaveFilter;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrFileTitle = nullptr;
    dialog.lpstrInitialDir = initialFolder;
    dialog.lpstrTitle = "Save File";
    dialog.Flags = kSaveDialogFlags;
    dialog.lpstrDefExt = nullptr; // a name typed without an extension is used as typed
    if (!GetSaveFileNameA(&dialog)) {
        return; // cancelled, or the dialog could not be shown
    }

    if (DWORD error = SaveFrameToBmpFile(*this, fileName)) {
        ReportSaveFailure(window, fileName, windowTitle, error);
    }
}
