#pragma once

#include <windows.h>

class ApplicationRecord;

// Writes the frame to target as a BMP file, through a temporary file that then replaces
// it in one move wherever the target's folder allows one (see
// WriteFileSafely, which also sets cutShortLeft). Returns 0 or a system
// error code. The rows go through a reversed copy, so the frame buffer keeps
// its top-row-first order.
DWORD SaveFrameToBmpFile(ApplicationRecord& record, const char* target,
                         bool* cutShortLeft = nullptr);

// Room for the text that tells of a failed save: a full path and the
// system's longest words fit.
constexpr int kSaveFailureTextSize = 1024;

// That text, naming target and the reason for error, and a cut-short file
// left there, cut to fit. Built without allocating: the failure may be a
// shortage of memory.
void SaveFailureText(const char* target, DWORD error, bool cutShortLeft,
                     char (&text)[kSaveFailureTextSize]);
