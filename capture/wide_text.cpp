#include "capture/wide_text.h"

#include "core/system_message.h"

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

std::string Utf8FromAnsi(const char* text) {
    const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0) {
        return std::string(); // the system's own text, which converts
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], units);
    return Utf8FromWide(wide.c_str());
}

std::string SystemMessageUtf8(DWORD error) {
    wchar_t words[512];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, words, 512, nullptr);
    const std::size_t kept = OneLineOfWords(words, length);
    // Without words of the system's, the 8-bit form says "system error N".
    return kept > 0 ? Utf8FromWide(words, static_cast<int>(kept)) : SystemMessage(error);
}

bool ProgramFolderWide(std::wstring& folder) {
    std::wstring path(32768, L'\0'); // the longest path Windows knows
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    // A full buffer means the name was cut short.
    const std::size_t backslash = path.find_last_of(L'\\', length);
    if (length == 0 || length >= path.size() || backslash == std::wstring::npos) {
        return false;
    }
    folder = path.substr(0, backslash + 1);
    return true;
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
