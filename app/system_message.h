#pragma once

#include <windows.h>

#include <string>

// The system's own words for an error code, on one line and without the
// final full stop, so they fit inside a sentence of the caller's; "system
// error N" where the system has none.
std::string SystemMessage(DWORD error);
