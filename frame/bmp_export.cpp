#include "frame/bmp_export.h"

#include "app/application_record.h"
#include "core/program_folder.h"
#include "core/safe_file_writer.h"
#include "core/system_message.h"
#include "frame/bmp_layout.h"
#include "core/frame_header.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <new>

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

void ReportSaveFailure(HWND owner, const char* target, const char* caption, DWORD error,
                       bool cutShortLeft) {
    char text[kSaveFailureTextSize];
    SaveFailureText(target, error, cutShortLeft, text);
    // The user is told; there is nothing more to do if even the box fails.
    MessageBoxA(owner, text, caption, MB_OK | MB_ICONERROR);
}

// The user's Pictures folder with its backslash, cut as the dialog's folder
// always is; the program's own folder where the user has none, or where it
// would not fit with its backslash.
void InitialSaveFolder(char (&folder)[MAX_PATH]) {
    // S_FALSE: known, but not there.
    if (SHGetFolderPathA(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, folder) == S_OK) {
        const std::size_t length = std::strlen(folder);
        if (length + 2 <= MAX_PATH) { // the backslash and the final 0
            // Cut after a backslash inside it, so the dialog opens in the folder
            // itself rather than in its parent.
            folder[length] = '\\';
            folder[length + 1] = '\0';
            CutAfterLastBackslash(folder);
            return;
        }
    }
    // Where the system cannot say, an empty folder lets the dialog open in its
    // own default.
    ProgramFolder(folder);
}

} // namespace

DWORD SaveFrameToBmpFile(ApplicationRecord& record, const char* target, bool* cutShortLeft) {
    // Made before any file is touched: where the target has to be written
    // directly, a failure here must not have emptied it already.
    std::unique_ptr<BYTE[]> rows;
    if (DWORD error = BottomFirstRows(record, rows)) {
        return error;
    }
    auto writeBmp = [&](HANDLE file) -> DWORD {
        FileSink sink(file);
        return StreamBmp(rows.get(), record.width, record.height, sink);
    };
    // Handed over by reference, which std::function takes without allocating.
    return WriteFileSafely(target, "oxv", std::ref(writeBmp), cutShortLeft);
}

void SaveFailureText(const char* target, DWORD error, bool cutShortLeft,
                     char (&text)[kSaveFailureTextSize]) {
    char reason[512];
    SystemMessageInto(error, reason, sizeof(reason));
    // A text too long is cut; snprintf always ends it.
    std::snprintf(text, sizeof(text), "The picture could not be saved to\n%s\n\n%s%s%s.", target,
                  reason, cutShortLeft ? "; " : "", cutShortLeft ? kCutShortLeft : "");
}

void ApplicationRecord::SaveAsBmp() {
    // Both buffers are made afresh: every Save proposes "Image.bmp" again.
    char fileName[MAX_PATH] = "Image.bmp";
    char initialFolder[MAX_PATH];
    InitialSaveFolder(initialFolder);

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

    bool cutShortLeft = false;
    if (DWORD error = SaveFrameToBmpFile(*this, fileName, &cutShortLeft)) {
        ReportSaveFailure(window, fileName, windowTitle, error, cutShortLeft);
    }
}
