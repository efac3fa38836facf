#include "core/system_message.h"

#include <cstdio>
#include <cstring>

std::string SystemMessage(DWORD error) {
    char text[512];
    return std::string(text, SystemMessageInto(error, text, sizeof(text)));
}

std::size_t SystemMessageInto(DWORD error, char* text, std::size_t size) {
    char words[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, words, sizeof(words), nullptr);
    length = static_cast<DWORD>(OneLineOfWords(words, length));
    if (length == 0) {
        length = static_cast<DWORD>(std::snprintf(words, sizeof(words), "system error %lu", error));
    }
    const std::size_t kept = length < size ? length : size - 1;
    std::memcpy(text, words, kept);
    text[kept] = '\0';
    return kept;
}
