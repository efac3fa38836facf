#pragma once

#include <windows.h>

extern const char kSettingsKeyPath[];

// Reads a value of up to 4 bytes straight into destination, whatever its
// registry type; a shorter value replaces only its own bytes. When the value
// is missing or longer, destination takes fallback.
void ReadDwordValue(HKEY key, const char* name, DWORD* destination, DWORD fallback);

// Writes a REG_DWORD. 0 on success, 0x80004005 on failure.
HRESULT WriteDwordValue(HKEY key, const char* name, DWORD value);
