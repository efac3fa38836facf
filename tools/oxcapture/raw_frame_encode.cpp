#include "tools/oxcapture/raw_frame_encode.h"

#include "app/application_record.h"
#include "frame/frame_header.h"

#include <algorithm>

// The largest frame must fit what the viewer reads.
static_assert(static_cast<unsigned long long>(kMaxCaptureWidth) * kMaxCaptureHeight * 3 +
                      kFrameHeaderBytes <=
                  kMaxRawFrameBytes,
              "the largest frame would not fit the viewer's read");

namespace {

void PutLE32(unsigned char* at, unsigned long value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

} // namespace

std::vector<unsigned char> EncodeRawFrame(const CaptureImage& image) {
    std::vector<unsigned char> file(kFrameHeaderBytes + image.bottomFirstBgr.size());
    std::copy(kRawFrameSignature, kRawFrameSignature + sizeof(kRawFrameSignature), file.begin());
    PutLE32(&file[8], kRawFrameVersion);
    PutLE32(&file[12], 0);
    PutLE32(&file[kFrameWidthOffset], static_cast<unsigned long>(image.width));
    PutLE32(&file[kFrameHeightOffset], static_cast<unsigned long>(image.height));
    std::copy(image.bottomFirstBgr.begin(), image.bottomFirstBgr.end(),
              file.begin() + kFrameHeaderBytes);
    return file;
}
