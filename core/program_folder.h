#pragma once

#include <windows.h>

// Cuts a path just after its last backslash (one after the first character),
// leaving the folder with its backslash; a text without one stays as it is.
// The buffer's last character is forced to 0 first.
void CutAfterLastBackslash(char (&path)[MAX_PATH]);

// The folder this program was started from, with its backslash. False, with
// folder empty, when the system cannot say, the path does not fit, or its
// 8-bit name names no folder (a name outside the ANSI code page).
bool ProgramFolder(char (&folder)[MAX_PATH]);
