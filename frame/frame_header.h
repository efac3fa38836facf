#pragma once

#include <windows.h>

// The raw frame file starts with 24 header bytes: 16 the viewer ignores, then
// the width and the height as signed 32-bit little-endian integers.
constexpr DWORD kFrameHeaderBytes = 24;
constexpr DWORD kFrameWidthOffset = 16;
constexpr DWORD kFrameHeightOffset = 20;

inline int ReadInt32LE(const BYTE* bytes) {
    return static_cast<int>(static_cast<DWORD>(bytes[0]) | static_cast<DWORD>(bytes[1]) << 8 |
                            static_cast<DWORD>(bytes[2]) << 16 |
                            static_cast<DWORD>(bytes[3]) << 24);
}

inline int FrameHeaderWidth(const BYTE* frame) {
    return ReadInt32LE(frame + kFrameWidthOffset);
}
inline int FrameHeaderHeight(const BYTE* frame) {
    return ReadInt32LE(frame + kFrameHeightOffset);
}
