#pragma once

// oxcapture's text as Windows users have it: the command line, its own
// folder and the system's words in UTF-16, which no code page limits, kept as
// UTF-8 inside the program, and turned back into UTF-16 for the system's wide
// functions and the console.

#include <windows.h>

#include <string>
#include <vector>

std::string Utf8FromWide(const wchar_t* text, int length = -1);
std::wstring WideFromUtf8(const std::string& text);
// Text of an 8-bit function, which is in the ANSI code page.
std::string Utf8FromAnsi(const char* text);

// The system's words for an error code as SystemMessage gives them, but
// asked for as wide text, so no character is lost to the code page.
std::string SystemMessageUtf8(DWORD error);

// The folder this program was started from, with its backslash. False when
// the system cannot say.
bool ProgramFolderWide(std::wstring& folder);

// The program's arguments, its own name first, each as UTF-8. False when the
// system cannot split the command line.
bool CommandLineArguments(std::vector<std::string>& arguments);

// Writes UTF-8 text to STD_OUTPUT_HANDLE or STD_ERROR_HANDLE: as wide text
// on a console, where the console's code page cannot spoil it, otherwise as
// UTF-8 bytes with CR LF line ends.
bool WriteText(DWORD standardHandle, const std::string& text);
