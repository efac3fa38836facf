#include "capture/imaging_errors.h"

#include <cstdio>

namespace {

// Whether a code, for a file whose signature names a format the system
// reads, means that the file is not what its signature promises.
enum class Meaning { kOwnWords, kDamage };
constexpr Meaning kOwn = Meaning::kOwnWords;
constexpr Meaning kDamage = Meaning::kDamage;

// The values of winerror.h, spelled out so that this builds anywhere.
struct KnownError {
    unsigned long code;
    const char* text;
    Meaning meaning;
};
constexpr KnownError kKnownErrors[] = {
    {0x88982F50ul, "not a picture format this system can read", kDamage}, // COMPONENTNOTFOUND
    {0x88982F07ul, "not a picture format this system can read", kDamage}, // UNKNOWNIMAGEFORMAT
    {0x88982F61ul, "damaged picture: bad header", kOwn},                  // BADHEADER
    {0x88982F60ul, "damaged picture", kOwn},                              // BADIMAGE
    {0x88982F70ul, "damaged picture data", kOwn},                         // BADSTREAMDATA
    {0x88982F72ul, "the picture data cannot be read", kDamage},           // STREAMREAD
    {0x88982F62ul, "the file holds no such page", kOwn},                  // FRAMEMISSING
    {0x88982F80ul, "unsupported pixel format", kOwn},                     // UNSUPPORTEDPIXELFORMAT
    {0x88982F81ul, "unsupported conversion of its pixels", kOwn},         // UNSUPPORTEDOPERATION
    {0x88982F51ul, "the picture is too large for its codec", kOwn},       // IMAGESIZEOUTOFRANGE
    {0x88982F0Bul, "unsupported version of its format", kOwn},            // UNSUPPORTEDVERSION
    {0x88982F45ul, "the picture has no palette", kOwn},                   // PALETTEUNAVAILABLE
    {0x88982F05ul, "a value in the picture is out of range", kOwn},       // VALUEOUTOFRANGE
    {0x80070026ul, "the file ends too soon", kOwn},                       // ERROR_HANDLE_EOF
};

// E_OUTOFMEMORY, and as HRESULTs ERROR_NOT_ENOUGH_MEMORY and
// STG_E_INSUFFICIENTMEMORY: a well-formed file too large for what is free.
constexpr unsigned long kOutOfMemory[] = {0x8007000Eul, 0x80070008ul, 0x80030008ul};

constexpr unsigned long kFacilityShift = 16;
constexpr unsigned long kFacilityMask = 0x7FFul;
constexpr unsigned long kFacilityWin32 = 7;

} // namespace

std::string ImagingFailure(unsigned long code, const std::string& step,
                           const std::string& systemText, const std::string& format,
                           const std::string& subject) {
    code &= 0xFFFFFFFFul;
    for (const unsigned long outOfMemory : kOutOfMemory) {
        if (code == outOfMemory) {
            return subject.empty() ? "not enough memory" : "not enough memory to read " + subject;
        }
    }
    const std::string damaged = "damaged or cut short " + format + " picture";
    for (const KnownError& known : kKnownErrors) {
        if (known.code == code) {
            return known.meaning == kDamage && !format.empty() ? damaged : known.text;
        }
    }
    std::string words = systemText;
    const unsigned long facility = (code >> kFacilityShift) & kFacilityMask;
    if ((facility != 0 && facility != kFacilityWin32) || systemText.empty()) {
        char number[32];
        std::snprintf(number, sizeof(number), "error 0x%08lX", code);
        words = number;
    }
    // A general failure says little; a signature the decoder did not live up
    // to says more.
    return format.empty() ? step + ": " + words : damaged + " (" + step + ": " + words + ")";
}
