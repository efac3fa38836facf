#include "support/image_magick.h"

#include "support/files.h"
#include "support/paths.h"
#include "support/polling.h"

#include <windows.h>

namespace {

// Quoted for the shell; a Windows path under Z: as the Unix path it names.
std::string ShellWord(const std::string& argument) {
    const bool windowsPath =
        argument.size() > 2 && (argument[0] == 'Z' || argument[0] == 'z') && argument[1] == ':';
    return "'" + (windowsPath ? UnixPath(argument) : argument) + "'";
}

} // namespace

bool ConvertWithImageMagick(const std::vector<std::string>& arguments, const std::string& output,
                            const std::string& format) {
    // Wine can start a Unix program but cannot wait for one or read its exit
    // code, so the result is written under another name and renamed when
    // complete: its appearance is the sign that the work is done.
    DeleteFileA(output.c_str()); // an earlier result must not pass for this one
    const std::string part = ShellWord(output + ".part");
    std::string script = "if command -v magick >/dev/null; then m=magick; else m=convert; fi; $m";
    for (const std::string& argument : arguments) {
        script += " " + ShellWord(argument);
    }
    // The format is named, since the name being written ends in .part.
    std::string type = format;
    if (type.empty()) {
        const std::size_t dot = output.find_last_of('.');
        type = dot == std::string::npos ? "" : output.substr(dot + 1);
    }
    script += " " + (type.empty() ? part : ShellWord(type + ":" + UnixPath(output) + ".part")) +
              " && mv " + part + " " + ShellWord(output);
    std::string command = "/bin/sh -c \"" + script + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return false;
    }
    // Not closed: for a Unix program Wine gives no handles of its own, and
    // the 64-bit loader leaves a stale value in hThread, whose close would
    // take an unrelated handle of this process (its message queue's, so
    // every MsgWaitForMultipleObjects after it fails).
    return PollWithoutPumping([&] { return FileExists(output); }, 60000);
}

Bytes DecodeWithImageMagick(const std::string& picture) {
    const std::string rgb = picture + ".rgb";
    if (!ConvertWithImageMagick({picture, "-depth", "8"}, rgb, "rgb")) {
        return {}; // an empty result fails any comparison
    }
    Bytes bytes = ReadFileBytes(rgb);
    DeleteFileA(rgb.c_str());
    return bytes;
}
