#include "capture/wic_decode.h"

#include "core/win32_handles.h"
#include "capture/capture_limits.h"
#include "capture/gif_page.h"
#include "capture/imaging_errors.h"
#include "capture/picture_check.h"
#include "capture/wide_text.h"

#include <wrl/client.h>

#include <new>
#include <utility>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

// Windows 10's best scaler; older versions refuse it and get Fant, their best.
constexpr int kBandRows = 64;

constexpr WICBitmapInterpolationMode kHighQualityCubic = static_cast<WICBitmapInterpolationMode>(4);

// format: what the file's signature names, or ""; subject: the page (see
// ImagingFailure).
std::string Failure(HRESULT result, const char* step, const std::string& format = "",
                    const std::string& subject = "") {
    const DWORD code = static_cast<DWORD>(result);
    return ImagingFailure(code, step, SystemMessageUtf8(code), format, subject);
}

// Scales the source when the frame is smaller, converts it to 32-bit BGR and
// copies the pixels into the frame.
bool SourceToFrame(IWICImagingFactory* factory, IWICBitmapSource* source, UINT width, UINT height,
                   int frameWidth, int frameHeight, const std::string& format,
                   const std::string& subject, CaptureImage& image, std::string& reason) {
    ComPtr<IWICBitmapScaler> scaler;
    if (static_cast<UINT>(frameWidth) != width || static_cast<UINT>(frameHeight) != height) {
        HRESULT result = factory->CreateBitmapScaler(&scaler);
        if (SUCCEEDED(result)) {
            result = scaler->Initialize(source, frameWidth, frameHeight, kHighQualityCubic);
            if (result == E_INVALIDARG) {
                result = scaler->Initialize(source, frameWidth, frameHeight,
                                            WICBitmapInterpolationModeFant);
            }
        }
        if (FAILED(result)) {
            reason = Failure(result, "cannot scale it down", format, subject);
            return false;
        }
        source = scaler.Get();
    }
    ComPtr<IWICFormatConverter> converter;
    HRESULT result = factory->CreateFormatConverter(&converter);
    if (SUCCEEDED(result)) {
        result = converter->Initialize(source, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                       nullptr, 0.0, WICBitmapPaletteTypeCustom);
    }
    if (FAILED(result)) {
        reason = Failure(result, "cannot convert its pixels", format, subject);
        return false;
    }
    // In bands of rows, so that the 32-bit copy stays small and warm: a
    // frame is at most kMaxCaptureWidth wide, so nothing here overflows.
    const UINT stride = static_cast<UINT>(frameWidth) * 4;
    std::vector<BYTE> band(static_cast<std::size_t>(stride) * kBandRows);
    CaptureImage frame(frameWidth, frameHeight);
    for (int top = 0; top < frameHeight; top += kBandRows) {
        const int rows = frameHeight - top < kBandRows ? frameHeight - top : kBandRows;
        const WICRect rectangle = {0, top, frameWidth, rows};
        result = converter->CopyPixels(&rectangle, stride, stride * static_cast<UINT>(rows),
                                       band.data());
        if (FAILED(result)) {
            reason = Failure(result, "cannot decode its pixels", format, subject);
            return false;
        }
        PutTopFirstBgrxRows(band.data(), top, rows, stride, frame);
    }
    image = std::move(frame);
    return true;
}

// The open picture file as the page readers see it; a failed read ends
// their walk like the end of the file, and is remembered.
class FileBytes : public ByteSource {
  public:
    explicit FileBytes(HANDLE file) : file_(file) {}
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* bytes, std::size_t count) override {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD got = 0;
        if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) ||
            !ReadFile(file_, bytes, static_cast<DWORD>(count), &got, nullptr)) {
            error_ = GetLastError();
            return 0;
        }
        return got;
    }
    DWORD error() const { return error_; }

  private:
    HANDLE file_;
    DWORD error_ = 0;
};

// Whether the open picture may go to a decoder (see CheckPictureBytes); the
// file is left at its start for one.
bool CheckOpenPicture(HANDLE file, unsigned long page, bool fit, PictureFacts& facts,
                      std::string& reason) {
    FileBytes source(file);
    const bool fits = CheckPictureBytes(source, page, fit, facts, reason);
    const LARGE_INTEGER fileStart = {};
    if (source.error() != 0 || (fits && !SetFilePointerEx(file, fileStart, nullptr, FILE_BEGIN))) {
        const DWORD error = source.error() != 0 ? source.error() : GetLastError();
        reason = "cannot read: " + SystemMessageUtf8(error);
        return false;
    }
    return fits;
}

// A decoder of only the page asked for, from a copy of it in memory (see
// GifPageBytes), which must outlive the decoder.
HRESULT GifPageDecoder(IWICImagingFactory* factory, HANDLE file, const PageSize& page,
                       std::vector<BYTE>& bytes, ComPtr<IWICBitmapDecoder>& decoder) {
    FileBytes source(file);
    bool copied = false;
    try {
        copied = GifPageBytes(source, page, bytes);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (source.error() != 0) {
        return HRESULT_FROM_WIN32(source.error());
    }
    if (!copied) { // shorter than when it was checked
        return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);
    }
    if (static_cast<DWORD>(bytes.size()) != bytes.size()) { // a 64-bit size only
        return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    }
    ComPtr<IWICStream> stream;
    HRESULT result = factory->CreateStream(&stream);
    if (SUCCEEDED(result)) {
        result = stream->InitializeFromMemory(bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    if (SUCCEEDED(result)) {
        result = factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                  WICDecodeMetadataCacheOnDemand, &decoder);
    }
    return result;
}

// Opened here rather than by name in the component, so that the reasons
// for a file that cannot be opened are the system's own.
HANDLE OpenPictureFile(const std::string& path, std::string& reason) {
    HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        reason = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                     ? "no such file"
                     : "cannot open: " + SystemMessageUtf8(error);
    }
    return file;
}

// The decoder to ask for the page, and the page's index in it. Wine's GIF
// decoder decodes every page it is given as soon as it is made, so a GIF's
// is given a copy of the page asked for alone.
HRESULT PageDecoder(IWICImagingFactory* factory, HANDLE file, const PictureFacts& facts,
                    unsigned long page, std::vector<BYTE>& onePage,
                    ComPtr<IWICBitmapDecoder>& decoder, UINT& index) {
    if (facts.format == PictureFormat::kGif) {
        index = 0;
        return GifPageDecoder(factory, file, facts.pages[page - 1], onePage, decoder);
    }
    index = static_cast<UINT>(page - 1);
    return factory->CreateDecoderFromFileHandle(reinterpret_cast<ULONG_PTR>(file), nullptr,
                                                WICDecodeMetadataCacheOnDemand, &decoder);
}

} // namespace

Imaging::Imaging() {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    comStarted_ = SUCCEEDED(com);
    // Another mode on this thread still lets COM objects be made.
    if (!comStarted_ && com != RPC_E_CHANGED_MODE) {
        status_ = com;
        return;
    }
    status_ = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                               IID_PPV_ARGS(factory_.GetAddressOf()));
}

Imaging::~Imaging() {
    factory_.Reset(); // while COM still runs on this thread
    if (comStarted_) {
        CoUninitialize();
    }
}

bool Imaging::Ready(std::string& reason) const {
    if (SUCCEEDED(status_)) {
        return true;
    }
    reason = "cannot start the Windows Imaging Component: " +
             SystemMessageUtf8(static_cast<DWORD>(status_));
    return false;
}

bool DecodePictureFile(const Imaging& imaging, const std::string& path, unsigned long page,
                       bool fit, CaptureImage& image, std::string& reason) {
    KernelHandle file(OpenPictureFile(path, reason));
    if (!file.valid()) {
        return false;
    }
    PictureFacts facts;
    if (!CheckOpenPicture(file.get(), page, fit, facts, reason)) {
        return false;
    }
    const std::string format = FormatName(facts.format);
    const std::string subject =
        "page " + std::to_string(page) +
        (facts.width > 0 ? " (" + SizeText(facts.width, facts.height) + ")" : "");
    const auto failure = [&](HRESULT code, const char* step) {
        reason = Failure(code, step, format, subject);
        return false;
    };

    // A GIF's pages are counted by the walk: its decoder is given only one.
    if (facts.format == PictureFormat::kGif &&
        !CheckPage(page, static_cast<unsigned long>(facts.pages.size()), reason)) {
        return false;
    }
    IWICImagingFactory* factory = imaging.factory();
    // Declared before the decoder, which reads from it to the end.
    std::vector<BYTE> onePage;
    ComPtr<IWICBitmapDecoder> decoder;
    UINT index = 0;
    HRESULT result = PageDecoder(factory, file.get(), facts, page, onePage, decoder, index);
    if (FAILED(result)) {
        return failure(result, "cannot read it as a picture");
    }
    UINT pages = 0;
    result = decoder->GetFrameCount(&pages);
    if (FAILED(result)) {
        return failure(result, "cannot count its pages");
    }
    if (!CheckPage(index + 1, pages, reason)) {
        return false;
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    result = decoder->GetFrame(index, &frame);
    UINT width = 0;
    UINT height = 0;
    if (SUCCEEDED(result)) {
        result = frame->GetSize(&width, &height);
    }
    if (FAILED(result)) {
        return failure(result, "cannot read its page");
    }
    int frameWidth = 0;
    int frameHeight = 0;
    return PlanFrameSize(width, height, fit, "image", frameWidth, frameHeight, reason) &&
           SourceToFrame(factory, frame.Get(), width, height, frameWidth, frameHeight, format,
                         subject, image, reason);
}

bool ScaleToFrame(const Imaging& imaging, const BYTE* topFirstBgrx, int width, int height,
                  int frameWidth, int frameHeight, CaptureImage& image, std::string& reason) {
    IWICImagingFactory* factory = imaging.factory();
    const unsigned long long bytes = static_cast<unsigned long long>(width) * height * 4;
    if (bytes > 0xFFFFFFFFull) {
        reason = "too large to scale";
        return false;
    }
    ComPtr<IWICBitmap> bitmap;
    // The component only reads the pixels here, whatever the pointer's type.
    const HRESULT result = factory->CreateBitmapFromMemory(
        width, height, GUID_WICPixelFormat32bppBGR, static_cast<UINT>(width) * 4,
        static_cast<UINT>(bytes), const_cast<BYTE*>(topFirstBgrx), &bitmap);
    if (FAILED(result)) {
        reason = Failure(result, "cannot hold the pixels to scale");
        return false;
    }
    return SourceToFrame(factory, bitmap.Get(), width, height, frameWidth, frameHeight, "", "",
                         image, reason);
}
