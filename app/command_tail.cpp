#include "app/command_tail.h"

#include <windows.h>

bool IsActiveCodePageLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

const char* CommandTail(const char* commandLine, LeadBytePredicate isLeadByte) {
    if (commandLine == nullptr) {
        return "";
    }
    const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
    bool inQuotes = false;
    while (*p != '\0' && (inQuotes || *p > ' ')) {
        if (*p == '"') {
            inQuotes = !inQuotes;
        } else if (isLeadByte(*p) && p[1] != '\0') {
            // The trail byte may look like a quote or a blank; it is not one.
            ++p;
        }
        ++p;
    }
    while (*p != '\0' && *p <= ' ') {
        ++p;
    }
    return reinterpret_cast<const char*>(p);
}
