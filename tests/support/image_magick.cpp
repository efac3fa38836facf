#include "support/image_magick.h"

#include "support/child_process.h"
#include "support/files.h"
#include "support/paths.h"
#include "support/polling.h"

#include <sstream>

namespace {

// Quoted for the shell; a Windows path under Z: as the Unix path it names.
std::string ShellWord(const std::string& argument) {
    const bool windowsPath =
        argument.size() > 2 && (argument[0] == 'Z' || argument[0] == 'z') && argument[1] == ':';
    return "'" + (windowsPath ? UnixPath(argument) : argument) + "'";
}

} // namespace

std::string ScratchPath(const std::string& name) {
    const std::string folder = TestFolder() + "capture-scratch\\";
    CreateDirectoryA(folder.c_str(), nullptr); // there already after the first call
    return folder + name;
}

bool ConvertWithImageMagick(const std::vector<std::string>& arguments, const std::string& output,
                            const std::string& format) {
    // Wine cannot wait for a Unix program: the result is written under another
    // name and renamed when complete, so its appearance says the work is done.
    DeleteFileA(output.c_str()); // an earlier result must not pass for this one
    const std::string part = ShellWord(output + ".part");
    std::string script = "if command -v magick >/dev/null; then m=magick; else m=convert; fi; $m";
    for (const std::string& argument : arguments) {
        script += " " + ShellWord(argument);
    }
    // The format is named, since the name being written ends in .part.
    const std::size_t dot = output.find_last_of('.');
    const std::string type =
        !format.empty() || dot == std::string::npos ? format : output.substr(dot + 1);
    script += " " + (type.empty() ? part : ShellWord(type + ":" + UnixPath(output) + ".part")) +
              " && mv " + part + " " + ShellWord(output);
    return StartUnixProgram("/bin/sh -c \"" + script + "\"") &&
           PollWithoutPumping([&] { return FileExists(output); }, 60000);
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

bool MakeImage(const std::vector<Frame>& pages, const std::string& options, const std::string& path,
               const std::string& format) {
    std::vector<std::string> arguments = {"-depth", "8"};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string page = ScratchPath("page" + std::to_string(i) + ".rgb");
        if (!WriteFileBytes(page, FrameAsRgb(pages[i]))) {
            return false;
        }
        arguments.insert(arguments.end(),
                         {"-size",
                          std::to_string(pages[i].width) + "x" + std::to_string(pages[i].height),
                          "rgb:" + UnixPath(page)});
    }
    std::istringstream words(options);
    for (std::string word; words >> word;) {
        arguments.push_back(word);
    }
    return ConvertWithImageMagick(arguments, path, format);
}
