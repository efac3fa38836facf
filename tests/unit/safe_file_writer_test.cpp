#include "core/safe_file_writer.h"
#include "core/win32_handles.h"
#include "support/files.h"
#include "support/paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(WriteRoad, ATemporaryNameIsUsedWheneverOneFitsTheFolder) {
    const std::size_t limit = kTempFileFolderLimit;
    EXPECT_EQ(246u, limit) << "GetTempFileNameA's documented limit, MAX_PATH - 14";
    const struct {
        std::size_t folder, shortFolder;
        WriteRoad road;
        DWORD temporaryError = 0; // why the temporary file could not be made
    } cases[] = {
        {3, 0, WriteRoad::kTemporaryBeside},
        {limit, 0, WriteRoad::kTemporaryBeside},
        {limit + 1, 40, WriteRoad::kTemporaryViaShortFolder},
        {258, limit, WriteRoad::kTemporaryViaShortFolder},
        {limit + 1, 0, WriteRoad::kDirect}, // the volume has no short names
        {250, 250, WriteRoad::kDirect},     // every part already short
        {258, limit + 1, WriteRoad::kDirect},
        {3, 0, WriteRoad::kDirect, ERROR_ACCESS_DENIED}, // no new files, but one may be replaced
        {limit + 1, 40, WriteRoad::kDirect, ERROR_ACCESS_DENIED},
        {3, 0, WriteRoad::kTemporaryBeside, ERROR_DISK_FULL}, // the failure stands
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.road, ChooseWriteRoad(c.folder, c.shortFolder, c.temporaryError))
            << "folder " << c.folder << ", short form " << c.shortFolder;
    }
}

TEST(WriteRoad, TheFolderEndsAtTheLastBackslashThatIsNoTrailByte) {
    const char* const name = "X:\\dir\\\x83\\.bmp"; // ソ.bmp in Japanese, ソ being 0x83 0x5C
    EXPECT_EQ(7u, FolderLength(name, 932));
    EXPECT_EQ(9u, FolderLength(name, 1252)) << "two characters in a one-byte code page";
    EXPECT_EQ(7u, FolderLength("X:\\dir\\\x83", 932)) << "a lead byte at the very end";
}

// Each test writes in a folder of its own under the test folder.
class SafeFileWriter : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = TestFolder() + "safe-writer-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        Empty(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Made, or emptied of what an earlier run left.
    static void Empty(const std::string& folder) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    // A folder of 250 characters of nested parts (and x's to fill) below the Windows Temp folder,
    // whose parts are 8.3 wherever the build is: parts of up to 7 characters have no shorter name.
    static std::string DeepFolder(const std::string& part) {
        std::string folder = WindowsTempFolder() + "oxvsafe\\";
        while (folder.size() + part.size() + 3 <= 250) {
            folder += part + "\\";
        }
        folder += std::string(250 - folder.size() - 1, 'x') + "\\";
        Empty(folder);
        return folder;
    }

    static DWORD Write(const std::string& target, const Bytes& bytes) {
        return WriteFileSafely(target.c_str(), "tst", [&](HANDLE file) {
            return WriteAll(file, bytes.data(), static_cast<DWORD>(bytes.size()));
        });
    }

    std::string folder_;
};

// A save that replaces a file, and one whose final move fails, are walked
// by the viewer's save (save_e2e_test) and by oxcapture (oxcapture_exe_test).
TEST_F(SafeFileWriter, AFailedWriteKeepsTheOldFileAndRemovesTheTemporaryOne) {
    const std::string target = folder_ + "picture.bmp";
    const Bytes old(300, 0x42);
    ASSERT_TRUE(WriteFileBytes(target, old));
    const DWORD failed = WriteFileSafely(target.c_str(), "tst", [](HANDLE file) -> DWORD {
        const BYTE some[10] = {};
        WriteAll(file, some, sizeof(some));
        return ERROR_DISK_FULL;
    });
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), failed) << "the writer's own error";
    EXPECT_EQ(old, ReadFileBytes(target));
    EXPECT_EQ(std::vector<std::string>{"picture.bmp"}, FileNames(folder_));

    EXPECT_NE(0u, Write(folder_ + "no such folder\\picture.bmp", Bytes(10, 1)));
}

TEST_F(SafeFileWriter, AFolderTooLongForATemporaryNameStillTakesTheFile) {
    // Long names: the folder's short form names the temporary file.
    const std::string longNames = DeepFolder("a folder with a long name");
    char shortForm[MAX_PATH];
    const DWORD shortLength = GetShortPathNameA(longNames.c_str(), shortForm, MAX_PATH);
    ASSERT_GT(shortLength, 0u);
    ASSERT_LE(shortLength, kTempFileFolderLimit) << "no short form to try: " << shortForm;
    // Parts in 8.3 form already: no shorter name exists, so the file goes in directly.
    const std::string shortNames = DeepFolder("d");
    ASSERT_EQ(shortNames.size(), GetShortPathNameA(shortNames.c_str(), shortForm, MAX_PATH));

    for (const std::string& folder : {longNames, shortNames}) {
        SCOPED_TRACE(folder);
        ASSERT_EQ(250u, folder.size());
        const std::string target = folder + "x.bmp";
        const Bytes bytes(777, 0x5C);
        ASSERT_EQ(0u, Write(target, bytes));
        EXPECT_EQ(bytes, ReadFileBytes(target));
        EXPECT_EQ(std::vector<std::string>{"x.bmp"}, FileNames(folder));
        DeleteFileA(target.c_str());
    }

    // Written directly, a failure loses the old file but leaves no half of the new one; where
    // even its deletion fails (the file made read-only meanwhile), the caller is told.
    const std::string target = shortNames + "x.bmp";
    bool cutShortLeft = true;
    const auto full = [](HANDLE) -> DWORD { return ERROR_DISK_FULL; };
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL),
              WriteFileSafely(target.c_str(), "tst", full, &cutShortLeft));
    EXPECT_FALSE(FileExists(target) || cutShortLeft);
    const auto readOnlyAndFull = [](HANDLE file) -> DWORD {
        FILE_BASIC_INFO basic = {};
        basic.FileAttributes = FILE_ATTRIBUTE_READONLY;
        return SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic))
                   ? ERROR_DISK_FULL
                   : GetLastError();
    };
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL),
              WriteFileSafely(target.c_str(), "tst", readOnlyAndFull, &cutShortLeft));
    EXPECT_TRUE(cutShortLeft);
    EXPECT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL)) << "no file left";

    // Not opened, so not this save's to delete: a hidden file (which Windows
    // refuses to replace) held by a program that lets others only delete it.
    ASSERT_TRUE(WriteFileBytes(target, Bytes(300, 0x42)));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
    KernelHandle holder(CreateFileA(target.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_NE(0u, Write(target, Bytes(10, 1)));
    holder.Close(); // a deletion asked for meanwhile would happen now
    EXPECT_EQ(Bytes(300, 0x42), ReadFileBytes(target)) << "the old file is gone or changed";
    DeleteFileA(target.c_str());
}

} // namespace
