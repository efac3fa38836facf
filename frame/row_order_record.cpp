#include "app/application_record.h"
#include "frame/row_order.h"

bool ApplicationRecord::ReverseRowOrder(const BYTE* source, BYTE* destination, int rowWidth,
                                        int rowCount) {
    if (this->width < 0 || this->height < 0 || rowWidth < 0 || rowCount < 0) {
        return false;
    }
    // The copy follows the record's size; the rows follow the arguments.
    const unsigned long long copyBytes = static_cast<unsigned long long>(this->width) *
                                         static_cast<unsigned long long>(this->height) * 3u;
    const unsigned long long rowBytes =
        static_cast<unsigned long long>(rowWidth) * static_cast<unsigned long long>(rowCount) * 3u;
    // Both blocks hold at most a frame buffer's pixels. A 32-bit process
    // cannot even address more; a 64-bit one could, and would run off them.
    constexpr unsigned long long kCapacity = sizeof(FrameBuffer::pixels);
    if (copyBytes > kCapacity || rowBytes > kCapacity) {
        return false;
    }
    return ReverseRows(source, destination, copyBytes, rowWidth, rowCount);
}
