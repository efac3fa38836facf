#pragma once

// Whether a picture file may go to a decoder, decided from its own bytes
// before any decoder sees them: some decoders take the whole picture, every
// page of it, into memory, with 32-bit arithmetic, as soon as they are made
// or a page is asked for. Plain C++ over a source of bytes.

#include "capture/picture_pages.h"

#include <string>

// format is what the file's signature names ("PNG", ...), or "". False, with
// the reason in words, for an empty file, a damaged header or page
// structure, or a page whose size no frame could come from (see
// CheckPictureHeader and CheckPageSizes). A page the file lacks is the
// decoder's to refuse by its count.
bool CheckPictureBytes(ByteSource& source, unsigned long page, bool fit, std::string& format,
                       std::string& reason);
