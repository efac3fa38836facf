#include "frame/bmp_export.h"

#include "app/application_record.h"
#include "app/program_folder.h"
#include "app/safe_file_writer.h"
#include "app/system_message.h"
#include "frame/bmp_layout.h"
#include "frame/frame_header.h"

#include <commdlg.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace {

const char kSaveFilter[] = "BMP Files\0*.BMP\0";
constexpr DWORD kSaveDialogFlags = OFN_NOREADONLYRETURN | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
// The dialog's record in its oldest form, which every version of the dialog
// takes (OPENFILENAME_SIZE_VERSION_400A, which is no constant expression):
// up to lpTemplateName, 76 bytes on 32-bit Windows, 136 on 64-bit.
constexpr DWORD kSaveDialogRecordBytes =
    offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName);
static_assert(kSaveDialogRecordBytes == (sizeof(void*) == 4 ? 76 : 136),
              "the save dialog gets the record's oldest form");

class FileSink final : public BmpSink {
  public:
    explicit FileSink(HANDLE file) : file_(file) {}
    std::uint32_t Write(const std::uint8_t* data, std::uint32_t count) override {
        return WriteAll(file_, data, count);
    }

  private:
    HANDLE file_;
};

// The frame's rows bottom row first, as the file holds them, in a fresh
// block, so the frame buffer keeps its top-row-first order for the display.
DWORD BottomFirstRows(ApplicationRecord& record, std::unique_ptr<BYTE[]>& block) {
    if (record.frameBuffer == nullptr) {
        return ERROR_INVALID_DATA;
    }
    block.reset(new (std::nothrow) BYTE[kFrameBufferBytes]);
    if (!block) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    if (!record.ReverseRowOrder(record.frameBuffer->pixels, block.get(), record.width,
                                record.height)) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return 0;
}

void ReportSaveFailure(HWND owner, const char* target, const char* caption, DWORD error) {
    const std::string text = "The picture could not be saved to\n" + std::string(target) + "\n\n" +
                             SystemMessage(error) + ".";
    // The user is told; there is nothing more to do if even the box fails.
    MessageBoxA(owner, text.c_str(), caption, MB_OK | MB_ICONERROR);
}

} // namespace

DWORD WriteFrameAsBmp(ApplicationRecord& record, BmpSink& sink) {
    std::unique_ptr<BYTE[]> rows;
    if (DWORD error = BottomFirstRows(record, rows)) {
        return error;
    }
    return StreamBmp(rows.get(), record.width, record.height, sink);
}

DWORD SaveFrameToBmpFile(ApplicationRecord& record, const char* target) {
    // Made before any file is touched: where the target has to be written
    // directly, a failure here must not have emptied it already.
    std::unique_ptr<BYTE[]> rows;
    if (DWORD error = BottomFirstRows(record, rows)) {
        return error;
    }
    return WriteFileSafely(target, "oxv", [&](HANDLE file) -> DWORD {
        FileSink sink(file);
        return StreamBmp(rows.get(), record.width, record.height, sink);
    });
}

void ApplicationRecord::SaveAsBmp() {
    // Both buffers are made afresh: every Save proposes "Image.bmp" again.
    char fileName[MAX_PATH] = "Image.bmp";
    // The program's own folder; where the system cannot say, an empty one
    // lets the dialog open in its own default.
    char initialFolder[MAX_PATH];
    ProgramFolder(initialFolder);

    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof(dialog));
    dialog.lStructSize = kSaveDialogRecordBytes;
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
