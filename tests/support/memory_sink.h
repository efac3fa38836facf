#pragma once

#include "frame/bmp_layout.h"

#include <cstdint>
#include <vector>

// Keeps a BMP stream in memory, and the size of each write request. With
// failAfter set it fails that many requests later with failure.
class MemorySink final : public BmpSink {
  public:
    std::uint32_t Write(const std::uint8_t* data, std::uint32_t count) override {
        requests.push_back(count);
        bytes.insert(bytes.end(), data, data + count);
        return failAfter-- == 0 ? failure : 0;
    }
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> requests;
    int failAfter = -1;
    std::uint32_t failure = 112; // the system's ERROR_DISK_FULL
};
