#include "app/application_record.h"
#include "frame/row_order.h"

bool ApplicationRecord::ReverseRowOrder(const BYTE* source, BYTE* destination, int rowWidth,
                                        int rowCount) {
    if (this->width < 0 || this->height < 0) {
        return false;
    }
    // The copy follows the record's size; the rows follow the arguments.
    const unsigned long long copyBytes = static_cast<unsigned long long>(this->width) *
                                         static_cast<unsigned long long>(this->height) * 3u;
    return ReverseRows(source, destination, copyBytes, rowWidth, rowCount);
}
