#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// The system's own words for an error code, on one line and without the
// final full stop, so they fit inside a sentence of the caller's; "system
// error N" where the system has none.
std::string SystemMessage(DWORD error);

// The same words in text, cut to its size (at least 1) and always ended with
// 0; returns their length. Allocates nothing, so a failure that comes from a
// shortage of memory can still be told.
std::size_t SystemMessageInto(DWORD error, char* text, std::size_t size);
