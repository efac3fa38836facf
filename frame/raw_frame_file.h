#pragma once

#include <windows.h>

// Builds "<windows directory>\Temp\oximg.raw". directoryLength is what the
// platform reported for the directory (0 when it could not). False, with path
// empty, when there is no directory or the whole path would not fit.
bool BuildRawFramePath(const char* windowsDirectory, UINT directoryLength, char (&path)[MAX_PATH]);

// True when the bytes read hold a whole header and every pixel the header
// claims, within capacity bytes. The sizes are taken in 64 bits so that no
// header can wrap them.
bool IsUsableFrame(const BYTE* data, DWORD bytesRead, DWORD capacity);
