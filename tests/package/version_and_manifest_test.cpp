// Reads back what Windows shows about the two program files: the version
// resource, as Explorer's Details tab and version tools read it, and the
// embedded application manifest.

#include "support/paths.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The program file loaded as data: its resources, none of its code.
class ProgramResources {
  public:
    explicit ProgramResources(const std::string& path)
        : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ProgramResources() {
        if (module_ != nullptr) {
            FreeLibrary(module_); // a data mapping: nothing to lose
        }
    }
    ProgramResources(const ProgramResources&) = delete;
    ProgramResources& operator=(const ProgramResources&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    // The resource's bytes; empty when it is missing.
    std::string Bytes(WORD id, LPCSTR type) const {
        HRSRC resource = FindResourceA(module_, MAKEINTRESOURCEA(id), type);
        HGLOBAL loaded = resource == nullptr ? nullptr : LoadResource(module_, resource);
        const char* data =
            loaded == nullptr ? nullptr : static_cast<const char*>(LockResource(loaded));
        return data == nullptr ? "" : std::string(data, SizeofResource(module_, resource));
    }

  private:
    HMODULE module_;
};

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

TEST(ProgramDetails, BothProgramsCarryTheProjectVersionAndTheirNames) {
    const DWORD versionMs = MAKELONG(OXVIEW_VERSION_MINOR, OXVIEW_VERSION_MAJOR);
    const DWORD versionLs = MAKELONG(0, OXVIEW_VERSION_PATCH);
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
        EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
        EXPECT_EQ(versionMs, fixed->dwFileVersionMS);
        EXPECT_EQ(versionLs, fixed->dwFileVersionLS);
        EXPECT_EQ(versionMs, fixed->dwProductVersionMS);
        EXPECT_EQ(versionLs, fixed->dwProductVersionLS);

        // Explorer reads the strings of the language that Translation names:
        // US English (0x0409) in Unicode (1200).
        EXPECT_EQ(std::string("\x09\x04\xB0\x04", 4),
                  QueryValue(block, "\\VarFileInfo\\Translation"));
        const std::string strings = "\\StringFileInfo\\040904b0\\";
        EXPECT_EQ(OXVIEW_VERSION, QueryValue(block, strings + "FileVersion"));
        EXPECT_EQ(OXVIEW_VERSION, QueryValue(block, strings + "ProductVersion"));
        EXPECT_EQ("oxview", QueryValue(block, strings + "ProductName"));
        EXPECT_EQ(program.file, QueryValue(block, strings + "OriginalFilename"));
        EXPECT_EQ(program.description, QueryValue(block, strings + "FileDescription"));
    }
}

TEST(ProgramDetails, BothProgramsEmbedAManifestAndTheViewersIcon) {
    const ProgramResources viewer(ViewerPath());
    ASSERT_TRUE(viewer.Loaded()) << "error " << GetLastError();
    // The viewer's own numbers, written out so that a changed id shows.
    EXPECT_NE("", viewer.Bytes(IDR_MAIN_MENU, RT_MENU));
    EXPECT_NE("", viewer.Bytes(IDR_ACCELERATORS, RT_ACCELERATOR));
    const std::string icon = viewer.Bytes(IDI_VIEWER_ICON, RT_GROUP_ICON);
    EXPECT_NE("", icon);

    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.file);
        const std::string path = BuildFolder() + program.file;
        const ProgramResources resources(path);
        ASSERT_TRUE(resources.Loaded()) << "error " << GetLastError();
        const std::string manifest = resources.Bytes(1, RT_MANIFEST);
        ASSERT_NE("", manifest) << "no manifest resource 1";
        EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\"")) << manifest;
        // Windows 7, then Windows 10 and 11.
        EXPECT_NE(std::string::npos, manifest.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"));
        EXPECT_NE(std::string::npos, manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"));
        EXPECT_EQ(std::string::npos, manifest.find("dpiAware")) << "the window size is fixed";
        EXPECT_TRUE(icon == resources.Bytes(IDI_VIEWER_ICON, RT_GROUP_ICON))
            << "icon group 101 differs";

        // The loader's own parser: on Windows a manifest it refuses keeps
        // the program from starting at all.
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
