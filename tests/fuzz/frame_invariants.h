#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct FrameCheck {
    bool accepted = false; // the header checks took the file as a frame
    std::string fault;     // empty when every invariant held
};

// Takes bytes as a raw frame file on disk and follows the viewer's road with
// them: the read cut at the read limit into a block of exactly the bytes read,
// the header checks against an oracle of their own, and, for a frame they
// accept, the rows reversed in place and back, reversed into a second block as
// the export does, and the BMP laid out from that block against one laid out
// by hand.
FrameCheck CheckRawFrameFile(const std::uint8_t* data, std::size_t size);
