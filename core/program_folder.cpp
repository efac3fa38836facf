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
    return true;
}
