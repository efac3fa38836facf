// What only Windows itself can tell about the two program files: that the version resource reads
// through the version API, as Explorer's Details tab reads it, and that the loader's own parser
// takes the embedded manifest. What the resources hold, program_files_check.sh reads.

#include "support/paths.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(ProgramDetails, TheVersionApiReadsBothProgramsAndTheLoaderTakesTheirManifests) {
    for (const auto& [file, description] :
         {std::make_pair("oxview.exe", "oxview frame viewer"),
          std::make_pair("oxcapture.exe", "oxcapture: writes a frame and starts oxview")}) {
        SCOPED_TRACE(file);
        const std::string path = BuildFolder() + file;
        DWORD ignored = 0;
        std::vector<BYTE> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
        ASSERT_FALSE(block.empty()) << "no version resource: error " << GetLastError();
        ASSERT_TRUE(
            GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
        void* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
        EXPECT_EQ(0xFEEF04BDu, static_cast<VS_FIXEDFILEINFO*>(value)->dwSignature);
        // Explorer reads the strings of the language Translation names: US English in Unicode.
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
        EXPECT_EQ(0x04B00409u, *static_cast<DWORD*>(value));
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\FileDescription",
                                   &value, &length));
        EXPECT_STREQ(description, static_cast<const char*>(value));

        // On Windows a manifest the loader refuses keeps the program from starting at all.
        ACTCTXA context = {};
        context.cbSize = sizeof(context);
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = path.c_str();
        context.lpResourceName = MAKEINTRESOURCEA(1);
        const HANDLE parsed = CreateActCtxA(&context);
        EXPECT_NE(INVALID_HANDLE_VALUE, parsed) << "manifest refused: error " << GetLastError();
        if (parsed != INVALID_HANDLE_VALUE) {
            ReleaseActCtx(parsed);
        }
    }
}

} // namespace
