#pragma once

// A picture file held in memory, as the picture checks read a file. It
// counts their reads, so that their work can be held to the file's length.

#include "capture/picture_pages.h"

#include <algorithm>
#include <cstring>

class MemorySource final : public ByteSource {
  public:
    MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* bytes, std::size_t count) override {
        ++reads;
        const std::size_t got =
            offset < size_ ? std::min(count, size_ - static_cast<std::size_t>(offset)) : 0;
        if (got != 0) { // an empty file may come with no bytes at all
            std::memcpy(bytes, data_ + offset, got);
        }
        return got;
    }
    std::size_t reads = 0;

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};
