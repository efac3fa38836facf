#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// The system's own words for an error code, on one line and without the
// final full stop, so they fit inside a sentence of the caller's; "system
// error N" where the system has none. In the ANSI code page, as the 8-bit
// functions give them.
std::string SystemMessage(DWORD error);

// The same words in text, cut to its size (at least 1) and always ended with
// 0; returns their length. Allocates nothing, so a failure that comes from a
// shortage of memory can still be told.
std::size_t SystemMessageInto(DWORD error, char* text, std::size_t size);

// Puts the system's words (8-bit or wide) on one line in place and drops
// their final full stop and line end; returns their new length.
template <typename Char> std::size_t OneLineOfWords(Char* words, std::size_t length) {
    const auto endsSentence = [](Char c) { return c == '\r' || c == '\n' || c == ' ' || c == '.'; };
    while (length > 0 && endsSentence(words[length - 1])) {
        --length;
    }
    // A message of several lines still fits on one: each line end, CR LF
    // included, becomes one space.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const bool lineEnd = words[i] == '\r' || words[i] == '\n';
        if (!lineEnd || kept == 0 || words[kept - 1] != ' ') {
            words[kept++] = lineEnd ? Char(' ') : words[i];
        }
    }
    return kept;
}
