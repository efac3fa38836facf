#include "support/frame_bytes.h"

namespace {

void Put32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void Append32(Bytes& out, std::uint32_t value) {
    out.resize(out.size() + 4);
    Put32(out, out.size() - 4, value);
}

std::int32_t Get32(const Bytes& in, std::size_t at) {
    const std::uint32_t bits =
        in[at] | in[at + 1] << 8 | in[at + 2] << 16 | static_cast<std::uint32_t>(in[at + 3]) << 24;
    return static_cast<std::int32_t>(bits);
}

} // namespace

std::uint32_t Frame::At(int x, int y) const {
    const std::uint8_t* p = &topFirst[(static_cast<std::size_t>(y) * width + x) * 3];
    return p[2] | p[1] << 8 | static_cast<std::uint32_t>(p[0]) << 16;
}

Frame PatternFrame(int width, int height) {
    Frame frame;
    frame.width = width;
    frame.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            frame.topFirst.push_back(static_cast<std::uint8_t>(x * 3 + y));       // blue
            frame.topFirst.push_back(static_cast<std::uint8_t>(y * 5 + x / 7));   // green
            frame.topFirst.push_back(static_cast<std::uint8_t>(255 - x - y * 2)); // red
        }
    }
    return frame;
}

Bytes RawFrameBytes(const Frame& frame) {
    Bytes raw = {'O', 'X', 'R', 'A', 'W', 'F', 'R', 'M', 1, 0, 0, 0, 0, 0, 0, 0};
    Append32(raw, static_cast<std::uint32_t>(frame.width));
    Append32(raw, static_cast<std::uint32_t>(frame.height));
    const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * 3;
    for (int y = frame.height - 1; y >= 0; --y) {
        const auto row = frame.topFirst.begin() + y * rowBytes;
        raw.insert(raw.end(), row, row + rowBytes);
    }
    return raw;
}

Frame FrameFromRawBytes(const Bytes& raw) {
    Frame frame;
    frame.width = Get32(raw, 16);
    frame.height = Get32(raw, 20);
    const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * 3;
    for (int y = frame.height - 1; y >= 0; --y) {
        const auto row = raw.begin() + 24 + y * rowBytes;
        frame.topFirst.insert(frame.topFirst.end(), row, row + rowBytes);
    }
    return frame;
}

void PutRawFrameSize(Bytes& file, std::int64_t width, std::int64_t height) {
    Put32(file, 16, static_cast<std::uint32_t>(width));
    Put32(file, 20, static_cast<std::uint32_t>(height));
}

Bytes RawFrameFileBytes(std::int64_t width, std::int64_t height, std::size_t pixelBytes) {
    Bytes file(24 + pixelBytes);
    PutRawFrameSize(file, width, height);
    for (std::size_t i = 24; i < file.size(); ++i) {
        file[i] = static_cast<std::uint8_t>(i * 131 + 7);
    }
    return file;
}

Bytes BmpFileBytes(const Frame& frame, bool topDown) {
    const std::uint32_t rowBytes = static_cast<std::uint32_t>(frame.width) * 3;
    const std::uint32_t stride = (rowBytes + 3) / 4 * 4;
    Bytes out = {'B', 'M'};
    Append32(out, 54 + stride * static_cast<std::uint32_t>(frame.height));
    Append32(out, 0);
    Append32(out, 54);
    Append32(out, 40);
    Append32(out, static_cast<std::uint32_t>(frame.width));
    Append32(out, static_cast<std::uint32_t>(topDown ? -frame.height : frame.height));
    out.insert(out.end(), {1, 0, 24, 0});
    for (int i = 0; i < 6; ++i) {
        Append32(out, 0);
    }
    for (int i = 0; i < frame.height; ++i) {
        const int y = topDown ? i : frame.height - 1 - i;
        const auto row = frame.topFirst.begin() + y * rowBytes;
        out.insert(out.end(), row, row + rowBytes);
        out.insert(out.end(), stride - rowBytes, 0);
    }
    return out;
}

Bytes FrameAsRgb(const Frame& frame) {
    Bytes rgb;
    for (std::size_t i = 0; i + 2 < frame.topFirst.size(); i += 3) {
        rgb.insert(rgb.end(), {frame.topFirst[i + 2], frame.topFirst[i + 1], frame.topFirst[i]});
    }
    return rgb;
}
