#pragma once

#include <windows.h>

#include <string>

// What another process holds, read from outside it. A count the platform
// cannot give is -1.
struct ProcessUsage {
    long handles = -1;    // kernel handles
    long gdiObjects = -1; // GetGuiResources; Wine does not implement it
    long userObjects = -1;
    unsigned long long privateBytes = 0; // committed private memory
    unsigned long long workingSet = 0;
    std::string Describe() const;
};

ProcessUsage ReadProcessUsage(DWORD processId);
