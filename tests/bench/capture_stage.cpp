// The capture side: a 1280x1024 PNG to a complete raw frame file by oxcapture's own decoding
// and writing, against the imaging component's decode of it into memory, which no capture skips.

#include "stages.h"
#include "support/capture_run.h"
#include "capture/raw_frame_encode.h"
#include "capture/wic_decode.h"

#include <wrl/client.h>

#include <cstdio>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kRepetitions = 15;
constexpr int kProgramRuns = 7;

// The baseline: decode and convert to 32-bit BGR in memory, nothing more.
bool DecodeInMemory(IWICImagingFactory* factory, const std::wstring& path,
                    std::vector<BYTE>& pixels) {
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return false;
    }
    pixels.resize(static_cast<size_t>(width) * height * 4);
    return SUCCEEDED(
        converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data()));
}

// What oxcapture does with a picture file: decode it, lay out the raw frame
// file, write it beside the target and move it into place in one step.
bool CaptureToFile(const Imaging& imaging, const std::string& png, const std::string& target) {
    CaptureImage image;
    std::string reason;
    if (!DecodePictureFile(imaging, png, 1, false, image, reason)) {
        std::fprintf(stderr, "%s: %s\n", png.c_str(), reason.c_str());
        return false;
    }
    const std::string temporary = target + ".tmp";
    return WriteInOneRequest(temporary, EncodeRawFrame(image), false) &&
           MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace

bool MeasureCapture(int width, int height, CaptureMedians* result) {
    const std::string png = ScratchPath("bench-capture.png");
    const std::string target = ScratchPath("bench-capture.raw");
    // A seeded plasma, smooth and rough like a photograph: neither trivial to decompress nor noise.
    const std::string plasma =
        "-size " + std::to_string(width) + "x" + std::to_string(height) + " -seed 7 plasma:fractal";
    if (!MakeImage({}, plasma, png)) {
        std::fprintf(stderr, "ImageMagick could not write %s\n", png.c_str());
        return false;
    }
    const Imaging imaging;
    std::string reason;
    if (!imaging.Ready(reason)) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        return false;
    }
    const std::wstring widePng(png.begin(), png.end()); // a path of plain ASCII
    std::vector<BYTE> pixels;
    bool ok = true;
    result->inProcess = Interleaved(
        kRepetitions, [&] { ok = CaptureToFile(imaging, png, target) && ok; },
        [&] { ok = DecodeInMemory(imaging.factory(), widePng, pixels) && ok; });

    // The real program, start to end, against its start and end alone.
    std::vector<double> program;
    std::vector<double> startOnly;
    for (int run = 0; ok && run < kProgramRuns; ++run) {
        program.push_back(
            TimeMs([&] { ok = RunCapture("--write-only \"" + png + "\"").exitCode == 0 && ok; }));
        startOnly.push_back(TimeMs([&] { ok = RunCapture("--version").exitCode == 0 && ok; }));
    }
    result->programMs = Median(program);
    result->programStartMs = Median(startOnly);
    DeleteFileA(RawFramePath().c_str()); // the program's frame: no viewer will take it
    DeleteFileA(target.c_str());
    DeleteFileA(png.c_str());
    if (!ok) {
        std::fprintf(stderr, "a capture of %s failed\n", png.c_str());
    }
    return ok;
}
