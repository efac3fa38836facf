#pragma once

// Plain C++ only: the BMP layout also builds and is fuzzed off Windows.
#include <cstdint>

// A BMP file opens with this fixed header (signature, file size, reserved
// words, pixel offset); the information header follows it.
constexpr std::uint32_t kBmpFileHeaderBytes = 14;
