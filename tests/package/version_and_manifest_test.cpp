// What only Windows itself can tell about the two program files: that the
// version resource reads through the version API, as Explorer's Details tab
// reads it, and that the loader's own parser takes the embedded manifest.
// What the resources hold is read from the files by program_files_check.sh.

#include "support/paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// VerQueryValueA on a version block: the value's bytes, empty when missing.
std::string QueryValue(std::vector<BYTE>& block, const std::string& path) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), &value, &length) || value == nullptr) {
        return "";
    }
    const char* bytes = static_cast<const char*>(value);
    // A string's length may or may not count its terminating zero.
    const bool text = path.find("\\StringFileInfo\\") == 0;
    return std::string(bytes, text ? std::find(bytes, bytes + length, '\0') : bytes + length);
}

struct Program {
    const char* file;
    const char* description;
};
const Program kPrograms[] = {{"oxview.exe", "oxview frame viewer"},
                             {"oxcapture.exe", "oxcapture: writes a frame and starts oxview"}};

TEST(ProgramDetails, TheVersionApiReadsBothProgramsVersionAndDescription) {
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.file);
        const std::string path = BuildFolder() + program.file;
        DWORD ignored = 0;
        std::vector<BYTE> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
        ASSERT_FALSE(block.empty()) << "no version resource: error " << GetLastError();
        ASSERT_TRUE(
            GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));

        const std::string fixedBytes = QueryValue(block, "\\");
        ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), fixedBytes.size());
        const auto* fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(fixedBytes.data());
        // Its numbers are the file check's (FILEVERSION).
        EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);

        // Explorer reads the strings of the language that Translation names:
        // US English (0x0409) in Unicode (1200).
        EXPECT_EQ(std::string("\x09\x04\xB0\x04", 4),
                  QueryValue(block, "\\VarFileInfo\\Translation"));
        EXPECT_EQ(program.description,
                  QueryValue(block, "\\StringFileInfo\\040904b0\\FileDescription"));
    }
}

TEST(ProgramDetails, TheLoaderTakesBothProgramsManifests) {
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.file);
        const std::string path = BuildFolder() + program.file;
        // On Windows a manifest the loader refuses keeps the program from
        // starting at all.
        ACTCTXA context = {};
        context.cbSize = sizeof(context);
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = path.c_str();
        context.lpResourceName = MAKEINTRESOURCEA(1);
        HANDLE parsed = CreateActCtxA(&context);
        EXPECT_NE(INVALID_HANDLE_VALUE, parsed) << "manifest refused: error " << GetLastError();
        if (parsed != INVALID_HANDLE_VALUE) {
            ReleaseActCtx(parsed);
        }
    }
}

} // namespace
