#pragma once

#include "core/frame_header.h"

#include <windows.h>

// The platform's generic failure code (E_FAIL).
constexpr HRESULT kStatusFailure = static_cast<HRESULT>(0x80004005L);

enum ArrowKey { kKeyUp = 0, kKeyDown = 1, kKeyLeft = 2, kKeyRight = 3, kArrowKeyCount = 4 };

// The viewer's one state object. Its hooks are virtual so that the idle loop
// and the window reach them through the table, and a test can replace one.
class ApplicationRecord {
  public:
    ApplicationRecord();

    ApplicationRecord(const ApplicationRecord&) = delete;
    ApplicationRecord& operator=(const ApplicationRecord&) = delete;

    // Hooks: 0 for success, negative for failure. The destructor comes after
    // them, so the table holds the four hooks first, in this order.
    virtual HRESULT OnWindowCreated();
    virtual HRESULT Render();
    virtual HRESULT UpdateFrame();
    virtual HRESULT Shutdown();
    virtual ~ApplicationRecord();

    // Fills rawFilePath, then reads at most *size bytes into destination;
    // *size receives the count read. False when the file cannot be opened or
    // what was read is not a frame the rest of the viewer can use safely.
    bool ReadRawFrameFile(FrameBuffer* destination, DWORD* size);
    // Copies width x height x 3 bytes (by the record's size) and turns the
    // rows upside down in destination. False, with destination untouched,
    // when the row buffer cannot be had.
    bool ReverseRowOrder(const BYTE* source, BYTE* destination, int width, int height);
    HRESULT CreateMainWindow(HINSTANCE instance);
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    int RunIdleLoop();
    void SampleArrowKeys(int* keyStates);
    void SaveAsBmp();
    void LoadSettings();
    void StoreSettings();

    // Fields, in this order.
    BOOL showLoadingText;
    BOOL appActive;
    const char* windowTitle;
    HWND window;
    float appTime;
    float elapsedTime;
    int keys[kArrowKeyCount];
    float verticalAngle;
    float horizontalAngle;
    FrameBuffer* frameBuffer;
    bool frameLoaded;
    int width;
    int height;
    char rawFilePath[MAX_PATH];
};

// The one record of the process, published by its construction so that the
// static window procedure can reach it.
extern ApplicationRecord* g_applicationRecord;
// Stored by the entry before the window is created.
extern HINSTANCE g_moduleInstance;

// Runs the viewer: the whole life of the record, from the command tail to the
// teardown. Returns the exit code.
int RunViewer(HINSTANCE instance, const char* commandTail);
