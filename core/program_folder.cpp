#include "core/program_folder.h"

#include <cstring>

void CutAfterLastBackslash(char (&path)[MAX_PATH]) {
    path[MAX_PATH - 1] = '\0';
    for (size_t i = std::strlen(path); i > 1; --i) {
        if (path[i - 1] == '\\') {
            path[i] = '\0';
            return;
        }
    }
}

bool ProgramFolder(char (&folder)[MAX_PATH]) {
    const DWORD length = GetModuleFileNameA(nullptr, folder, MAX_PATH);
    // A full buffer means the name was cut short.
    if (length == 0 || length >= MAX_PATH) {
        folder[0] = '\0';
        return false;
    }
    CutAfterLastBackslash(folder);
    // A name outside the ANSI code page comes back with '?' for what the code
    // page cannot hold, which names no folder: better none than a wrong one.
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        folder[0] = '\0';
        return false;
    }
    return true;
}
