#pragma once

// Whether a picture file may go to a decoder, decided from its own bytes
// before any decoder sees them: some decoders take the whole picture, every
// page of it, into memory, with 32-bit arithmetic, as soon as they are made
// or a page is asked for. Plain C++ over a source of bytes.

#include "capture/picture_pages.h"

#include <string>
#include <vector>

// What the checks learnt of a file that may go to a decoder.
struct PictureFacts {
    PictureFormat format = PictureFormat::kUnknown;
    std::vector<PageSize> pages; // JPEG, GIF and TIFF: every page the walk found
    // The page asked for, where the file gives its size; 0 otherwise.
    long long width = 0;
    long long height = 0;
};

// False, with the reason in words, for an empty file, a damaged header or
// page structure, or a page whose size no frame could come from (see
// CheckPictureHeader and CheckPageSizes). A page the file lacks is the
// decoder's to refuse by its count. facts.format is set whenever the
// signature names a format.
bool CheckPictureBytes(ByteSource& source, unsigned long page, bool fit, PictureFacts& facts,
                       std::string& reason);
