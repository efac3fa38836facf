#include "app/application_record.h"

#include "core/frame_header.h"

int RunViewer(HINSTANCE instance, const char* commandTail) {
    // Scoped to the entry: every way out destroys it, which deletes the raw
    // frame file and frees the frame buffer. Built in place, so nothing here
    // can throw: a frame buffer that cannot be had is a null pointer.
    ApplicationRecord record;

    if (commandTail == nullptr || commandTail[0] == '\0') {
        // No owner, no caption, no icon: the capture program is the only
        // proper way to start the viewer.
        MessageBoxA(nullptr, "This application can not be used in this manner!", nullptr, 0);
        return 0;
    }

    DWORD size = kMaxRawFrameBytes;
    if (!record.ReadRawFrameFile(record.frameBuffer, &size)) {
        return 0;
    }
    record.frameLoaded = true;
    record.width = record.frameBuffer->header.Width();
    record.height = record.frameBuffer->header.Height();

    g_moduleInstance = instance;
    if (record.CreateMainWindow(instance) < 0) {
        return 0;
    }

    // The loading text is on screen while this runs. If the one spare row
    // cannot be had, the picture stays bottom-up; nothing else is at risk.
    BYTE* pixels = record.frameBuffer->pixels;
    record.ReverseRowOrder(pixels, pixels, record.width, record.height);

    return record.RunIdleLoop();
}
