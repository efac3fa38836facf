#pragma once

// A GIF file cut down to one of its pages, for a decoder that decodes every
// page it is given as soon as it is made (Wine's does): what a page costs is
// then what that page costs. Each page of a GIF is its own picture (its
// descriptor, colour table and pixels), so the cut-down file decodes to the
// same pixels the whole file gives for that page. Plain C++ over a source of
// bytes, bounded by what the file holds, never by what it claims.

#include "capture/picture_pages.h"

#include <cstdint>
#include <vector>

// The header, logical screen and global colour table, then the page's own
// blocks as the page walk found them (see PageSize), then the trailer. A
// page that the file ends inside is copied as far as the file goes, with
// no trailer: the decoder judges it as it would the whole file. False when
// the source holds less than the walk found, or gives an error.
bool GifPageBytes(ByteSource& source, const PageSize& page, std::vector<std::uint8_t>& bytes);
