#pragma once

// Pictures through the Windows Imaging Component: a file of one of the six
// formats the checks let through (see CheckPictureBytes) becomes a frame, by
// way of 32-bit BGR pixels whose fourth byte is dropped. Paletted sources
// must go that way: a direct conversion of them to 24-bit BGR is refused by
// some versions of the component.

#include "capture/capture_image.h"

#include <windows.h>

#include <wincodec.h>
#include <wrl/client.h>

#include <string>

// COM for this thread and the imaging factory, for as long as it lives.
class Imaging {
  public:
    Imaging();
    ~Imaging();
    Imaging(const Imaging&) = delete;
    Imaging& operator=(const Imaging&) = delete;
    // False, with a reason, when COM or the component could not be started.
    bool Ready(std::string& reason) const;
    IWICImagingFactory* factory() const { return factory_.Get(); }

  private:
    bool comStarted_ = false;
    HRESULT status_ = E_FAIL;
    Microsoft::WRL::ComPtr<IWICImagingFactory> factory_;
};

// Page page (from 1) of the picture file; of a GIF, only that page goes to
// the decoder (see GifPageBytes). Larger than 1280x1024 it is
// refused, or scaled down with fit. On failure reason holds one line in words
// and image is untouched.
bool DecodePictureFile(const Imaging& imaging, const std::string& path, unsigned long page,
                       bool fit, CaptureImage& image, std::string& reason);

// 32-bit pixels (rows top first, width x 4 bytes each) scaled to the frame's
// size with the component's scaler.
bool ScaleToFrame(const Imaging& imaging, const BYTE* topFirstBgrx, int width, int height,
                  int frameWidth, int frameHeight, CaptureImage& image, std::string& reason);
