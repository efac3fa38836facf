#pragma once

// oxcapture's text as Windows users have it: the command line in UTF-16,
// which no code page limits, kept as UTF-8 inside the program, and turned
// back into UTF-16 for the system's wide functions and the console.

#include <windows.h>

#include <string>
#include <vector>

std::string Utf8FromWide(const wchar_t* text, int length = -1);
std::wstring WideFromUtf8(const std::string& text);

// The program's arguments, its own name first, each as UTF-8. False when the
// system cannot split the command line.
bool CommandLineArguments(std::vector<std::string>& arguments);

// Writes UTF-8 text to STD_OUTPUT_HANDLE or STD_ERROR_HANDLE: as wide text
// on a console, where the console's code page cannot spoil it, otherwise as
// UTF-8 bytes with CR LF line ends.
bool WriteText(DWORD standardHandle, const std::string& text);
