#pragma once

#include <windows.h>

// Builds "<windows directory>\Temp\oximg.raw". directoryLength is what the
// platform reported for the directory (0 when it could not). False, with path
// empty, when there is no directory or the whole path would not fit.
bool BuildRawFramePath(const char* windowsDirectory, UINT directoryLength, char (&path)[MAX_PATH]);
