#include "core/raw_frame_path.h"

#include <cstring>

static const char kRawFrameSuffix[] = "\\Temp\\oximg.raw";

bool BuildRawFramePath(const char* windowsDirectory, UINT directoryLength, char (&path)[MAX_PATH]) {
    path[0] = '\0';
    if (directoryLength == 0 || directoryLength >= MAX_PATH) {
        return false;
    }
    if (directoryLength + sizeof(kRawFrameSuffix) > MAX_PATH) {
        return false;
    }
    std::memcpy(path, windowsDirectory, directoryLength);
    std::memcpy(path + directoryLength, kRawFrameSuffix, sizeof(kRawFrameSuffix));
    return true;
}
