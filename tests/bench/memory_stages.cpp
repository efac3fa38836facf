// The start-up row reversal and Save's BMP export, each against the plainest move of the bytes.

#include "app/application_record.h"
#include "core/win32_handles.h"
#include "frame/bmp_export.h"
#include "frame/bmp_layout.h"
#include "core/frame_header.h"
#include "stages.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

constexpr int kReversalRepetitions = 41;
constexpr int kExportRepetitions = 15;

bool WriteInOneRequest(const std::string& path, const std::vector<BYTE>& bytes, bool flush) {
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file.valid() &&
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && (!flush || FlushFileBuffers(file.get())) && file.Close()) {
        return true;
    }
    std::fprintf(stderr, "writing %s failed: %lu\n", path.c_str(), GetLastError());
    return false;
}

void LoadPattern(ApplicationRecord& record, int width, int height) {
    std::memset(&record.frameBuffer->header, 0, kFrameHeaderBytes);
    record.frameBuffer->header.SetSize(width, height);
    BYTE* pixel = record.frameBuffer->pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, pixel += 3) {
            pixel[0] = static_cast<BYTE>(x * 7 + y * 3);
            pixel[1] = static_cast<BYTE>((x ^ y) * 5);
            pixel[2] = static_cast<BYTE>(x * y + (x >> 3));
        }
    }
    record.width = width;
    record.height = height;
    record.frameLoaded = true;
}

PairedMedians MeasureRowReversal(ApplicationRecord& record, int width, int height) {
    LoadPattern(record, width, height);
    BYTE* pixels = record.frameBuffer->pixels;
    const size_t bytes = static_cast<size_t>(width) * height * 3;
    std::unique_ptr<BYTE[]> copy(new BYTE[bytes]);
    return Interleaved(
        kReversalRepetitions, [&] { record.ReverseRowOrder(pixels, pixels, width, height); },
        [&] { std::memcpy(copy.get(), pixels, bytes); });
}

ExportMedians MeasureExport(ApplicationRecord& record, int width, int height,
                            const std::string& folder) {
    LoadPattern(record, width, height);
    const std::string saved = folder + "bench-export.bmp";
    const std::string plain = folder + "bench-write.bin";
    const std::vector<BYTE> bytes(static_cast<size_t>(BmpFileSize(width, height)), 0x5A);
    auto save = [&] {
        if (DWORD error = SaveFrameToBmpFile(record, saved.c_str())) {
            std::fprintf(stderr, "saving %s failed: %lu\n", saved.c_str(), error);
        }
    };
    ExportMedians result;
    result.againstWrite =
        Interleaved(kExportRepetitions, save, [&] { WriteInOneRequest(plain, bytes, false); });
    result.againstFlushedWrite =
        Interleaved(kExportRepetitions, save, [&] { WriteInOneRequest(plain, bytes, true); });
    std::vector<double> reversal;
    for (int i = 0; i < kExportRepetitions; ++i) {
        reversal.push_back(TimeMs([&] {
            std::unique_ptr<BYTE[]> block(new BYTE[kFrameBufferBytes]);
            record.ReverseRowOrder(record.frameBuffer->pixels, block.get(), width, height);
        }));
    }
    result.reversalMs = Median(reversal);
    DeleteFileA(saved.c_str());
    DeleteFileA(plain.c_str());
    return result;
}
