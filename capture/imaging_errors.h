#pragma once

#include <string>

// The reason, in words, for a failure code (an HRESULT) of the Windows
// Imaging Component at one step of reading a picture. Known codes get a short
// phrase of their own. Others read "<step>: <systemText>" when they are
// general system codes (facility 0 or Win32), whose message text the caller
// passes, and "<step>: error 0x88982F99" otherwise: the system has no text
// for the imaging component's own codes.
std::string ImagingFailure(unsigned long code, const std::string& step,
                           const std::string& systemText);
