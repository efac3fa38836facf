#include "capture/picture_check.h"

#include <cstdint>
#include <vector>

bool CheckPictureBytes(ByteSource& source, unsigned long page, bool fit, std::string& format,
                       std::string& reason) {
    std::uint8_t start[kPictureHeaderBytes];
    std::size_t got = source.ReadAt(0, start, sizeof(start));
    // The imaging component cannot map an empty file and says so obscurely.
    if (got == 0) {
        reason = "empty file";
        return false;
    }
    PictureHeader header = ReadPictureHeader(start, got);
    format = FormatName(header.format);
    // An icon is sized by the page asked for; a directory cut short is the
    // decoder's to refuse.
    std::uint8_t entry[kIconEntryBytes];
    if (header.format == PictureFormat::kIco && page <= IconPageCount(start, got) &&
        source.ReadAt(IconEntryOffset(page), entry, sizeof(entry)) == sizeof(entry)) {
        got = source.ReadAt(IconImageOffset(entry), start, sizeof(start));
        header = ReadIconImage(start, got);
    }
    if (!CheckPictureHeader(header, fit, reason)) {
        return false;
    }
    std::vector<PageSize> pages;
    return ReadPageSizes(header.format, source, pages, reason) &&
           CheckPageSizes(pages, page, fit, reason);
}
