#include "support/window_text.h"

std::string WindowText(HWND window) {
    char text[1024];
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &length)) {
        return "";
    }
    return std::string(text, length < sizeof(text) ? length : 0);
}

bool HasClass(HWND window, const char* className) {
    char name[64];
    return GetClassNameA(window, name, sizeof(name)) != 0 && _stricmp(name, className) == 0;
}

std::vector<std::string> ChildTexts(HWND parent, const char* className) {
    std::vector<std::string> texts;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (HasClass(child, className) && IsWindowVisible(child)) {
            texts.push_back(WindowText(child));
        }
    }
    return texts;
}
