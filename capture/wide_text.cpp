#include "capture/wide_text.h"

#include <shellapi.h>

std::string Utf8FromWide(const wchar_t* text, int length) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return std::string(); // nothing to convert, or nothing convertible
    }
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &utf8[0], bytes, nullptr, nullptr);
    if (length < 0) {
        utf8.pop_back(); // the converted terminator
    }
    return utf8;
}

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int length = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (units <= 0) {
        return std::wstring(); // only the program's own UTF-8 comes here, which converts
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &wide[0], units);
    return wide;
}

bool CommandLineArguments(std::vector<std::string>& arguments) {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) {
        return false;
    }
    arguments.clear();
    for (int i = 0; i < count; ++i) {
        arguments.push_back(Utf8FromWide(words[i]));
    }
    LocalFree(words); // a block of memory only: nothing to lose if it stays
    return true;
}

bool WriteText(DWORD standardHandle, const std::string& text) {
    const HANDLE output = GetStdHandle(standardHandle);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD mode = 0;
    if (GetConsoleMode(output, &mode)) {
        const std::wstring wide = WideFromUtf8(text);
        DWORD written = 0;
        return WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written,
                             nullptr) &&
               written == wide.size();
    }
    std::string bytes;
    for (const char c : text) {
        bytes += c == '\n' ? "\r\n" : std::string(1, c);
    }
    DWORD written = 0;
    return WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}
