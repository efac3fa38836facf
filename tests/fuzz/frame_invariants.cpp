#include "frame_invariants.h"

#include "frame/bmp_layout.h"
#include "frame/frame_header.h"
#include "frame/row_order.h"
#include "support/memory_sink.h"

#include <cstring>
#include <sstream>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32At(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint32_t U16At(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}

// Whether the header fits the bytes read, by division rather than by the
// product the checks form, so that one cannot share a fault with the other.
bool FitsByDivision(int width, int height, std::uint32_t bytesRead) {
    if (bytesRead < kFrameHeaderBytes || width < 0 || height < 0) {
        return false;
    }
    if (width == 0 || height == 0) {
        return true;
    }
    const std::uint64_t room = bytesRead - kFrameHeaderBytes;
    return static_cast<std::uint64_t>(height) <= room / 3u / static_cast<std::uint64_t>(width);
}

std::string Describe(const char* what, int width, int height, std::uint32_t bytesRead) {
    std::ostringstream text;
    text << what << " (width " << width << ", height " << height << ", " << bytesRead
         << " bytes read)";
    return text.str();
}

// Row y of a top-first block against row y of another.
bool SameRow(const std::uint8_t* a, int rowA, const std::uint8_t* b, int rowB,
             std::size_t rowBytes) {
    return std::memcmp(a + rowBytes * static_cast<std::size_t>(rowA),
                       b + rowBytes * static_cast<std::size_t>(rowB), rowBytes) == 0;
}

const char* CheckRows(const Bytes& original, int width, int height) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3u;
    const std::size_t pixelBytes = original.size();

    // In place, as at start-up.
    Bytes inPlace = original;
    if (!ReverseRows(inPlace.data(), inPlace.data(), pixelBytes, width, height)) {
        return "the in-place reversal refused a frame the checks accepted";
    }
    if (rowBytes != 0) {
        for (int y = 0; y < height; ++y) {
            if (!SameRow(inPlace.data(), y, original.data(), height - 1 - y, rowBytes)) {
                return "a row did not land in its mirrored place";
            }
        }
    }
    // Into a block of its own, as the export does.
    Bytes copied(pixelBytes);
    if (!ReverseRows(original.data(), copied.data(), pixelBytes, width, height)) {
        return "the reversal into a second block refused";
    }
    if (copied != inPlace) {
        return "the reversal into a second block differs from the one in place";
    }
    if (!ReverseRows(inPlace.data(), inPlace.data(), pixelBytes, width, height) ||
        inPlace != original) {
        return "reversing twice did not give the first order back";
    }
    return nullptr;
}

const char* CheckBmp(const Bytes& original, int width, int height) {
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(width) * 3u;
    const std::uint64_t stride = BmpStride(width);
    if (stride % 4 != 0 || stride < rowBytes || stride >= rowBytes + 4) {
        return "the stride is not the row rounded up to four bytes";
    }
    const std::uint64_t fileSize = BmpFileSize(width, height);
    if (fileSize != kBmpPixelOffset + stride * static_cast<std::uint64_t>(height)) {
        return "the file size is not the headers plus stride x height";
    }

    Bytes bottomFirst(original.size());
    ReverseRows(original.data(), bottomFirst.data(), original.size(), width, height);
    MemorySink sink;
    if (StreamBmp(bottomFirst.data(), width, height, sink) != 0) {
        return "laying out a frame the checks accepted failed";
    }
    const Bytes& bmp = sink.bytes;
    if (bmp.size() != fileSize) {
        return "the stream is not as long as the file size says";
    }
    if (bmp[0] != 'B' || bmp[1] != 'M' || U32At(bmp, 2) != fileSize || U32At(bmp, 6) != 0 ||
        U32At(bmp, 10) != kBmpPixelOffset) {
        return "the file header is wrong";
    }
    if (U32At(bmp, 14) != kBmpInfoHeaderBytes ||
        U32At(bmp, 18) != static_cast<std::uint32_t>(width) ||
        U32At(bmp, 22) != static_cast<std::uint32_t>(height) || U16At(bmp, 26) != 1 ||
        U16At(bmp, 28) != 24) {
        return "the information header is wrong";
    }
    for (std::size_t at = 30; at < kBmpPixelOffset; ++at) {
        if (bmp[at] != 0) {
            return "a field that must be zero is not";
        }
    }

    // The requests: the two headers, then the rows in one request, or each
    // row and its fill in two.
    std::vector<std::uint32_t> requests = {kBmpFileHeaderBytes, kBmpInfoHeaderBytes};
    const std::uint32_t fill = static_cast<std::uint32_t>(stride - rowBytes);
    if (width > 0 && height > 0) {
        if (fill == 0) {
            requests.push_back(static_cast<std::uint32_t>(rowBytes * height));
        } else {
            for (int y = 0; y < height; ++y) {
                requests.push_back(static_cast<std::uint32_t>(rowBytes));
                requests.push_back(fill);
            }
        }
    }
    if (sink.requests != requests) {
        return "the write requests are not the headers and the rows";
    }

    // Read back: the file's last row is the frame's first.
    if (rowBytes != 0) {
        for (int y = 0; y < height; ++y) {
            const std::size_t at = kBmpPixelOffset + static_cast<std::size_t>(stride) *
                                                         static_cast<std::size_t>(height - 1 - y);
            if (std::memcmp(&bmp[at], &original[rowBytes * static_cast<std::size_t>(y)],
                            static_cast<std::size_t>(rowBytes)) != 0) {
                return "a row read back from the BMP is not the frame's";
            }
            for (std::uint32_t i = 0; i < fill; ++i) {
                if (bmp[at + rowBytes + i] != 0) {
                    return "a row's fill is not zero";
                }
            }
        }
    }
    return nullptr;
}

} // namespace

FrameCheck CheckRawFrameFile(const std::uint8_t* data, std::size_t size) {
    FrameCheck check;
    const std::uint32_t bytesRead =
        size > kMaxRawFrameBytes ? kMaxRawFrameBytes : static_cast<std::uint32_t>(size);
    // Exactly the bytes read, so that a look past them is caught.
    const Bytes file(data, data + bytesRead);
    check.accepted = IsUsableFrame(file.data(), bytesRead, kFrameBufferBytes);

    const bool hasHeader = bytesRead >= kFrameHeaderBytes;
    const int width = hasHeader ? FrameHeaderAt(file.data()).Width() : -1;
    const int height = hasHeader ? FrameHeaderAt(file.data()).Height() : -1;
    if (check.accepted != FitsByDivision(width, height, bytesRead)) {
        check.fault = Describe(check.accepted ? "accepted a file that cannot hold its frame"
                                              : "turned away a file that holds its frame",
                               width, height, bytesRead);
        return check;
    }
    if (!check.accepted) {
        return check;
    }

    const std::size_t pixelBytes =
        static_cast<std::size_t>(width) * 3u * static_cast<std::size_t>(height);
    const Bytes original(file.begin() + kFrameHeaderBytes,
                         file.begin() + kFrameHeaderBytes +
                             static_cast<std::ptrdiff_t>(pixelBytes));
    if (const char* fault = CheckRows(original, width, height)) {
        check.fault = Describe(fault, width, height, bytesRead);
    } else if (const char* bmpFault = CheckBmp(original, width, height)) {
        check.fault = Describe(bmpFault, width, height, bytesRead);
    }
    return check;
}
