#include "frame_invariants.h"

#include "frame/bmp_layout.h"
#include "core/frame_header.h"
#include "frame/row_order.h"
#include "support/frame_bytes.h"
#include "support/memory_sink.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Whether the header fits the bytes read, by division rather than by the
// product the checks form, so that one cannot share a fault with the other.
bool FitsByDivision(int width, int height, std::uint32_t bytesRead) {
    if (bytesRead < kFrameHeaderBytes || width < 0 || height < 0) {
        return false;
    }
    const std::uint64_t room = bytesRead - kFrameHeaderBytes;
    return width == 0 || height == 0 ||
           static_cast<std::uint64_t>(height) <= room / 3u / static_cast<std::uint64_t>(width);
}

std::string Describe(const char* what, int width, int height, std::uint32_t bytesRead) {
    return std::string(what) + " (width " + std::to_string(width) + ", height " +
           std::to_string(height) + ", " + std::to_string(bytesRead) + " bytes read)";
}

std::string CheckRows(const Bytes& original, int width, int height) {
    const std::size_t pixelBytes = original.size();

    // In place, as at start-up.
    Bytes inPlace = original;
    if (!ReverseRows(inPlace.data(), inPlace.data(), pixelBytes, width, height)) {
        return "the in-place reversal refused a frame the checks accepted";
    }
    // The rows mirrored by hand: the raw frame file of the frame, past its header.
    const Bytes mirrored = width != 0 ? RawFrameBytes(Frame{width, height, original}) : Bytes(24);
    if (!std::equal(inPlace.begin(), inPlace.end(), mirrored.begin() + 24, mirrored.end())) {
        return "a row did not land in its mirrored place";
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
    return "";
}

// The stream against the BMP laid out by hand in tests/support, sizes and fill included.
std::string CheckBmp(const Bytes& original, int width, int height) {
    Bytes bottomFirst(original.size());
    ReverseRows(original.data(), bottomFirst.data(), original.size(), width, height);
    MemorySink sink;
    if (StreamBmp(bottomFirst.data(), width, height, sink) != 0) {
        return "laying out a frame the checks accepted failed";
    }
    const Bytes expected = BmpFileBytes(Frame{width, height, original});
    if (sink.bytes != expected) {
        return "the BMP is not the one laid out by hand: " + FirstDifference(sink.bytes, expected);
    }
    return "";
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

    const auto pixels = file.begin() + kFrameHeaderBytes; // the frame the bytes read hold
    const Bytes original(pixels,
                         pixels + static_cast<std::ptrdiff_t>(std::size_t{3} * width * height));
    std::string fault = CheckRows(original, width, height);
    fault = fault.empty() ? CheckBmp(original, width, height) : fault;
    check.fault = fault.empty() ? "" : Describe(fault.c_str(), width, height, bytesRead);
    return check;
}
