#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct FrameCheck {
    bool accepted = false; // the header checks took the file as a frame
    std::string fault;     // empty when every invariant held
};

// Follows the viewer's road with bytes as a raw frame file: the read cut at the limit, the header
// checks against an oracle of their own, and for a frame they accept, the rows reversed (in place,
// and into a second block as the export does) and the BMP against one laid out by hand.
FrameCheck CheckRawFrameFile(const std::uint8_t* data, std::size_t size);
