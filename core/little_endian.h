#pragma once

// Plain C++ only: the frame checks, the BMP layout and the capture program's
// encoders all build off Windows too. Every file format here is
// little-endian, whatever the machine is.
#include <cstdint>

inline std::uint16_t ReadUint16LE(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

inline std::uint32_t ReadUint32LE(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// Two's complement by hand: before C++20 converting an unsigned value above
// INT32_MAX to a signed type is implementation-defined.
inline std::int32_t ReadInt32LE(const std::uint8_t* at) {
    const std::uint32_t bits = ReadUint32LE(at);
    return bits <= 0x7FFFFFFFu ? static_cast<std::int32_t>(bits)
                               : -static_cast<std::int32_t>(~bits & 0x7FFFFFFFu) - 1;
}

inline void WriteUint16LE(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteUint32LE(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// The bit pattern of value, which is well defined for every signed value.
inline void WriteInt32LE(std::uint8_t* at, std::int32_t value) {
    WriteUint32LE(at, static_cast<std::uint32_t>(value));
}
