#include "app/application_record.h"

#include <new>

ApplicationRecord* g_applicationRecord = nullptr;
HINSTANCE g_moduleInstance = nullptr;

ApplicationRecord::ApplicationRecord() : frameBuffer(nullptr), frameLoaded(false) {
    g_applicationRecord = this;

    window = nullptr;
    windowTitle = "OrbiluxCap_KT5810";
    width = 640;
    height = 480;
    showLoadingText = 1;
    for (int& key : keys) {
        key = 0;
    }
    verticalAngle = 0.0f;
    horizontalAngle = 0.0f;
    appActive = 0;
    appTime = 0.0f;
    elapsedTime = 0.0f;
    rawFilePath[0] = '\0';

    // Left uncleared: the reader overwrites what is used. A null block makes
    // the reader fail, which ends the run quietly.
    frameBuffer = new (std::nothrow) FrameBuffer;

    LoadSettings();
}

ApplicationRecord::~ApplicationRecord() {
    if (rawFilePath[0] != '\0') {
        // The file may already be gone; that is not an error.
        DeleteFileA(rawFilePath);
    }
    delete frameBuffer;
    frameBuffer = nullptr;
    if (g_applicationRecord == this) {
        g_applicationRecord = nullptr;
    }
}

HRESULT ApplicationRecord::OnWindowCreated() {
    // The paint draws the loading text while showLoadingText is still set;
    // this one stays on screen while the rows are reordered.
    SendMessageA(window, WM_PAINT, 0, 0);
    showLoadingText = 0;
    return 0;
}

HRESULT ApplicationRecord::Shutdown() {
    StoreSettings();
    return 0;
}
