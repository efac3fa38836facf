#include "frame/row_order.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

bool ReverseRows(const unsigned char* source, unsigned char* destination,
                 unsigned long long copyBytes, int width, int height) {
    if (width < 0 || height < 0 || copyBytes > SIZE_MAX) {
        return false;
    }
    const unsigned long long rowBytes64 = static_cast<unsigned long long>(width) * 3u;
    const bool rowsMove = height >= 2 && rowBytes64 != 0;
    if (rowsMove && rowBytes64 * static_cast<unsigned long long>(height) > SIZE_MAX) {
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(rowBytes64);

    // Taken before any byte moves, so a failure leaves destination as it was.
    std::unique_ptr<unsigned char[]> spare;
    if (rowsMove) {
        spare.reset(new (std::nothrow) unsigned char[rowBytes]);
        if (!spare) {
            return false;
        }
    }

    if (source != destination && copyBytes != 0) {
        std::memcpy(destination, source, static_cast<size_t>(copyBytes));
    }
    if (!rowsMove) {
        return true;
    }

    unsigned char* top = destination;
    unsigned char* bottom = destination + rowBytes * static_cast<size_t>(height - 1);
    for (int pair = 0; pair < height / 2; ++pair) {
        std::memcpy(spare.get(), bottom, rowBytes);
        std::memcpy(bottom, top, rowBytes);
        std::memcpy(top, spare.get(), rowBytes);
        top += rowBytes;
        bottom -= rowBytes;
    }
    return true;
}
