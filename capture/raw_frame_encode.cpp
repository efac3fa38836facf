#include "capture/raw_frame_encode.h"

#include "core/frame_header.h"
#include "core/little_endian.h"

#include <algorithm>
#include <cstring>

// The largest frame must fit what the viewer reads.
static_assert(static_cast<unsigned long long>(kMaxCaptureWidth) * kMaxCaptureHeight * 3 +
                      kFrameHeaderBytes <=
                  kMaxRawFrameBytes,
              "the largest frame would not fit the viewer's read");

std::vector<unsigned char> EncodeRawFrame(const CaptureImage& image) {
    FrameHeader header;
    std::copy(kRawFrameSignature, kRawFrameSignature + sizeof(kRawFrameSignature), header.producer);
    WriteUint32LE(header.producer + 8, kRawFrameVersion);
    WriteUint32LE(header.producer + 12, 0);
    header.SetSize(image.width, image.height);

    std::vector<unsigned char> file(kFrameHeaderBytes + image.bottomFirstBgr.size());
    std::memcpy(file.data(), &header, kFrameHeaderBytes);
    std::copy(image.bottomFirstBgr.begin(), image.bottomFirstBgr.end(),
              file.begin() + kFrameHeaderBytes);
    return file;
}
