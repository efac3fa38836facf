#pragma once

#include "bench_clock.h"

#include <string>
#include <vector>

class ApplicationRecord;

// Fills the record's frame buffer with a frame of this size whose every channel varies along
// both axes, so no run of equal bytes lets a stage skip work.
void LoadPattern(ApplicationRecord& record, int width, int height);

// One CreateFile, one WriteFile of all the bytes, optionally one flush, and the close: the least
// any program could do to put them in a file. A failure is said on standard error.
bool WriteInOneRequest(const std::string& path, const std::vector<BYTE>& bytes, bool flush);

// The row reversal at start-up (in place) against one memcpy of the bytes.
PairedMedians MeasureRowReversal(ApplicationRecord& record, int width, int height);

struct ExportMedians {
    PairedMedians againstWrite;        // against one WriteFile of the same size
    PairedMedians againstFlushedWrite; // the same, flushed to disk as Save does
    double reversalMs = 0.0;           // of Save's time: the rows reversed into a fresh block
};
// Save's writing of the BMP file into folder (with its backslash).
ExportMedians MeasureExport(ApplicationRecord& record, int width, int height,
                            const std::string& folder);

// A Render pass against a bare SetPixel loop into a bitmap like its own.
bool MeasureRender(ApplicationRecord& record, int width, int height, PairedMedians* pass);

// Launching oxview.exe until the frame is complete on its screen.
struct LaunchMedians {
    double toWindowMs = 0.0;    // launch to the main window shown
    double toPaintMs = 0.0;     // launch to the first thing painted in the window
    double toFrameMs = 0.0;     // launch to every pixel of the frame on screen
    double startOnlyMs = 0.0;   // launch to exit when there is no frame to read
    double screenCheckMs = 0.0; // one look at the screen for the frame
};
bool MeasureLaunch(int width, int height, LaunchMedians* result);

// The capture program's part: a PNG of this size to a complete raw frame file.
struct CaptureMedians {
    PairedMedians inProcess;     // its decoding and writing, against the codec's decode alone
    double programMs = 0.0;      // oxcapture.exe --write-only on the PNG, start to end
    double programStartMs = 0.0; // oxcapture.exe --version, start to end
};
bool MeasureCapture(int width, int height, CaptureMedians* result);
