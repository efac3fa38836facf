#pragma once

// Plain C++ only: the row moves also build and are fuzzed off Windows.

#include <cstddef>

// Copies copyBytes from source to destination (the same block or blocks that
// do not overlap), then reverses the order of height rows of width x 3 bytes
// in destination through one temporary row. Returns false, having touched
// nothing, when the row cannot be allocated or the sizes are negative or too
// large to address.
bool ReverseRows(const unsigned char* source, unsigned char* destination,
                 unsigned long long copyBytes, int width, int height);
