#pragma once

#include <string>

// The reason, in words, for a failure code (an HRESULT) of the Windows
// Imaging Component at one step of reading a picture. Known codes get a short
// phrase of their own. Others read "<step>: <systemText>" when they are
// general system codes (facility 0 or Win32), whose message text the caller
// passes, and "<step>: error 0x88982F99" otherwise: the system has no text
// for the imaging component's own codes. format is what the file's
// signature names ("PNG"), or empty: with a format, a code that does not say
// that the format or the operation is unsupported reads "damaged or cut
// short PNG picture", followed by "(<step>: <text>)" for a general code.
// A code that says memory ran out is never damage: it reads "not enough
// memory to read <subject>" (such as "page 2 (16000x15000)"), or "not
// enough memory" without a subject.
std::string ImagingFailure(unsigned long code, const std::string& step,
                           const std::string& systemText, const std::string& format = "",
                           const std::string& subject = "");
