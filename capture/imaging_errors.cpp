#include "capture/imaging_errors.h"

#include <cstdio>

namespace {

// The values of winerror.h, spelled out so that this builds anywhere.
struct KnownError {
    unsigned long code;
    const char* text;
};
constexpr KnownError kKnownErrors[] = {
    {0x88982F50ul, "not a picture format this system can read"}, // COMPONENTNOTFOUND
    {0x88982F07ul, "not a picture format this system can read"}, // UNKNOWNIMAGEFORMAT
    {0x88982F61ul, "damaged picture: bad header"},               // BADHEADER
    {0x88982F60ul, "damaged picture"},                           // BADIMAGE
    {0x88982F70ul, "damaged picture data"},                      // BADSTREAMDATA
    {0x88982F72ul, "the picture data cannot be read"},           // STREAMREAD
    {0x88982F62ul, "the file holds no such page"},               // FRAMEMISSING
    {0x88982F80ul, "unsupported pixel format"},                  // UNSUPPORTEDPIXELFORMAT
    {0x88982F81ul, "unsupported conversion of its pixels"},      // UNSUPPORTEDOPERATION
    {0x88982F51ul, "the picture is too large for its codec"},    // IMAGESIZEOUTOFRANGE
    {0x88982F0Bul, "unsupported version of its format"},         // UNSUPPORTEDVERSION
    {0x88982F45ul, "the picture has no palette"},                // PALETTEUNAVAILABLE
    {0x88982F05ul, "a value in the picture is out of range"},    // VALUEOUTOFRANGE
    {0x80070026ul, "the file ends too soon"},                    // ERROR_HANDLE_EOF
    {0x8007000Eul, "not enough memory"},                         // E_OUTOFMEMORY
};

constexpr unsigned long kFacilityShift = 16;
constexpr unsigned long kFacilityMask = 0x7FFul;
constexpr unsigned long kFacilityWin32 = 7;

} // namespace

std::string ImagingFailure(unsigned long code, const std::string& step,
                           const std::string& systemText) {
    code &= 0xFFFFFFFFul;
    for (const KnownError& known : kKnownErrors) {
        if (known.code == code) {
            return known.text;
        }
    }
    const unsigned long facility = (code >> kFacilityShift) & kFacilityMask;
    if ((facility == 0 || facility == kFacilityWin32) && !systemText.empty()) {
        return step + ": " + systemText;
    }
    char number[32];
    std::snprintf(number, sizeof(number), "error 0x%08lX", code);
    return step + ": " + number;
}
