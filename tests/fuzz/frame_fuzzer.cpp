#include "frame_invariants.h"

#include <cstdio>
#include <cstdlib>

// libFuzzer's entry: any byte string as a raw frame file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FrameCheck check = CheckRawFrameFile(data, size);
    if (!check.fault.empty()) {
        std::fprintf(stderr, "invariant broken: %s\n", check.fault.c_str());
        std::abort();
    }
    return 0;
}
