#include "tools/oxcapture/capture_image.h"

CaptureImage FrameFromTopFirstBgrx(const unsigned char* pixels, int width, int height,
                                   std::size_t stride) {
    CaptureImage image;
    image.width = width;
    image.height = height;
    image.bottomFirstBgr.resize(static_cast<std::size_t>(width) * height * 3);
    unsigned char* out = image.bottomFirstBgr.data();
    for (int y = height - 1; y >= 0; --y) {
        const unsigned char* in = pixels + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x, in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
    return image;
}
