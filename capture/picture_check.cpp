#include "capture/picture_check.h"

#include <cstdint>

bool CheckPictureBytes(ByteSource& source, unsigned long page, bool fit, PictureFacts& facts,
                       std::string& reason) {
    std::uint8_t start[kPictureHeaderBytes];
    std::size_t got = source.ReadAt(0, start, sizeof(start));
    // The imaging component cannot map an empty file and says so obscurely.
    if (got == 0) {
        reason = "empty file";
        return false;
    }
    PictureHeader header = ReadPictureHeader(start, got);
    facts.format = header.format;
    // An icon is sized by the page asked for; a directory cut short is the
    // decoder's to refuse.
    std::uint8_t entry[kIconEntryBytes];
    if (header.format == PictureFormat::kIco && page <= IconPageCount(start, got) &&
        source.ReadAt(IconEntryOffset(page), entry, sizeof(entry)) == sizeof(entry)) {
        got = source.ReadAt(IconImageOffset(entry), start, sizeof(start));
        header = ReadIconImage(start, got);
    }
    if (!CheckPictureHeader(header, fit, reason) ||
        !ReadPageSizes(header.format, source, facts.pages, reason) ||
        !CheckPageSizes(facts.pages, page, fit, reason)) {
        return false;
    }
    if (header.sizeKnown) {
        facts.width = header.width;
        facts.height = header.height;
    } else if (page >= 1 && page <= facts.pages.size()) {
        facts.width = facts.pages[page - 1].width;
        facts.height = facts.pages[page - 1].height;
    }
    return true;
}
