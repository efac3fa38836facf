#pragma once

// The size of every page of a JPEG, GIF or TIFF file, read from the file
// itself before any decoder is made: Wine's JPEG and GIF decoders decode the
// whole file, every page of it, as soon as they are made, and a TIFF
// decoder holds a whole tile at a time. Plain C++ over a source of bytes,
// so that any bytes can be fed to it as a whole file; its work is bounded
// by the file's length, never by what the file claims.

#include "capture/picture_header.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to count bytes from offset on; returns how many there were.
    virtual std::size_t ReadAt(std::uint64_t offset, std::uint8_t* bytes, std::size_t count) = 0;
};

struct PageSize {
    long long width = 0;
    long long height = 0;
    long long tileWidth = 0; // TIFF only; 0 when the page is in strips
    long long tileHeight = 0;
    // GIF only: where the page's own blocks lie in the file, from the first
    // extension after the page before to the end of its pixels (0 when the
    // file ends first). The walk has stepped over every byte up to the end.
    std::uint64_t blocksStart = 0;
    std::uint64_t blocksEnd = 0;
};

// Appends each page's size, in order, for kJpeg (its frame header), kGif
// (each image descriptor) and kTiff (each image directory). False, with damage in words, when the
// structure is broken before the sizes are known; other formats give no pages.
bool ReadPageSizes(PictureFormat format, ByteSource& source, std::vector<PageSize>& pages,
                   std::string& damage);

// The size of a GIF colour table that these flags (of the logical screen
// or an image descriptor) say follows them.
std::uint64_t GifColourTableBytes(std::uint8_t flags);

// Whether a file with these pages may go to a decoder for page (from 1):
// every page, and every tile, must stay within the decoders' pixel limit, and the page used
// must also become a frame (see PlanFrameSize). A page the file lacks is
// refused later by the count.
bool CheckPageSizes(const std::vector<PageSize>& pages, unsigned long page, bool fit,
                    std::string& reason);
