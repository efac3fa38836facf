#pragma once

// Tells whether a byte opens a two-byte character in the active code page.
using LeadBytePredicate = bool (*)(unsigned char byte);

bool IsActiveCodePageLeadByte(unsigned char byte);

// The command tail: the command line without the program name and without
// the blanks and control characters after it. The name ends at the first
// character of code 32 or less outside double quotes; a lead byte always
// takes the byte after it along. A null command line gives "".
const char* CommandTail(const char* commandLine,
                        LeadBytePredicate isLeadByte = IsActiveCodePageLeadByte);
