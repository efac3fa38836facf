#include "app/system_message.h"

std::string SystemMessage(DWORD error) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof(text), nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                          text[length - 1] == ' ' || text[length - 1] == '.')) {
        --length;
    }
    for (DWORD i = 0; i < length; ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            text[i] = ' '; // a message of several lines still fits on one
        }
    }
    if (length == 0) {
        return "system error " + std::to_string(error);
    }
    return std::string(text, length);
}
