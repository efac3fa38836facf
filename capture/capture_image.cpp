#include "capture/capture_image.h"

CaptureImage::CaptureImage(int width, int height) {
    if (width < 1 || width > kMaxCaptureWidth || height < 1 || height > kMaxCaptureHeight) {
        return;
    }
    this->width = width;
    this->height = height;
    bottomFirstBgr.resize(static_cast<std::size_t>(width) * height * 3);
}

void PutTopFirstBgrxRows(const unsigned char* rows, int firstRow, int rowCount, std::size_t stride,
                         CaptureImage& image) {
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    for (int i = 0; i < rowCount; ++i) {
        const unsigned char* in = rows + static_cast<std::size_t>(i) * stride;
        // The frame holds the picture's bottom row first.
        unsigned char* out = image.bottomFirstBgr.data() +
                             static_cast<std::size_t>(image.height - 1 - firstRow - i) * rowBytes;
        for (int x = 0; x < image.width; ++x, in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
}

CaptureImage FrameFromTopFirstBgrx(const unsigned char* pixels, int width, int height,
                                   std::size_t stride) {
    CaptureImage image(width, height);
    PutTopFirstBgrxRows(pixels, 0, height, stride, image);
    return image;
}
