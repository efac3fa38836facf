#include "app/application_record.h"
#include "core/raw_frame_path.h"
#include "support/files.h"
#include "support/frame_bytes.h"
#include "support/settings_key_guard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The header of a width x height frame followed by that frame's pixels and
// extra bytes more.
Bytes FrameFile(int width, int height, size_t extra = 0) {
    return RawFrameFileBytes(width, height, static_cast<size_t>(width) * height * 3 + extra);
}

Bytes Header(int width, int height) {
    return RawFrameFileBytes(width, height, 0);
}

class RawFrameFileReader : public ::testing::Test {
  protected:
    void SetUp() override { DeleteFileA(path_.c_str()); }
    void TearDown() override { DeleteFileA(path_.c_str()); }

    // Reads through a fresh record into a sentinel-filled frame buffer.
    bool Read(DWORD* size) {
        std::memset(record_.frameBuffer->bytes(), 0xBD, kFrameBufferBytes);
        return record_.ReadRawFrameFile(record_.frameBuffer, size);
    }

    const std::string path_ = RawFramePath();
    SettingsKeyGuard settings_; // the record opens the settings key
    ApplicationRecord record_;
};

TEST_F(RawFrameFileReader, BuildsThePathEvenWithoutADestination) {
    DWORD size = kMaxRawFrameBytes;
    EXPECT_FALSE(record_.ReadRawFrameFile(nullptr, &size));
    EXPECT_EQ(path_, record_.rawFilePath);
}

TEST_F(RawFrameFileReader, MissingFileFails) {
    DWORD size = kMaxRawFrameBytes;
    EXPECT_FALSE(Read(&size));
    EXPECT_EQ(path_, record_.rawFilePath);
}

TEST_F(RawFrameFileReader, ExactLengthLoadsCompletelyAndSurplusIsHarmless) {
    const Bytes exact = FrameFile(4, 3);
    ASSERT_TRUE(WriteFileBytes(path_, exact));
    DWORD size = kMaxRawFrameBytes;
    ASSERT_TRUE(Read(&size));
    EXPECT_EQ(exact.size(), size);
    const BYTE* read = record_.frameBuffer->bytes();
    EXPECT_EQ(exact, Bytes(read, read + exact.size()));
    EXPECT_EQ(0xBD, read[exact.size()]);

    ASSERT_TRUE(WriteFileBytes(path_, FrameFile(4, 3, 100)));
    size = kMaxRawFrameBytes;
    ASSERT_TRUE(Read(&size));
    EXPECT_EQ(exact.size() + 100, size);
}

TEST_F(RawFrameFileReader, ReadsNoMoreThanAskedFor) {
    // 1280 x 1024 plus a long tail: only the cap is read.
    ASSERT_TRUE(WriteFileBytes(path_, FrameFile(1280, 1024, 100000)));
    DWORD size = kMaxRawFrameBytes;
    ASSERT_TRUE(Read(&size));
    EXPECT_EQ(kMaxRawFrameBytes, size);
    EXPECT_EQ(0xBD, record_.frameBuffer->bytes()[kMaxRawFrameBytes]);
}

TEST_F(RawFrameFileReader, AFileHeldOpenWithoutSharingCannotBeRead) {
    ASSERT_TRUE(WriteFileBytes(path_, FrameFile(2, 2)));
    HANDLE holder = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    DWORD size = kMaxRawFrameBytes;
    EXPECT_FALSE(Read(&size));
    CloseHandle(holder);
    size = kMaxRawFrameBytes;
    EXPECT_TRUE(Read(&size));
}

TEST_F(RawFrameFileReader, KeepsNothingOpenAfterReading) {
    // The file can be opened exclusively right after the read.
    ASSERT_TRUE(WriteFileBytes(path_, FrameFile(2, 2)));
    DWORD size = kMaxRawFrameBytes;
    ASSERT_TRUE(Read(&size));
    HANDLE after = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, after);
    CloseHandle(after);
}

TEST_F(RawFrameFileReader, UnusableFramesAreRejectedLikeAMissingFile) {
    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty file", {}},
        {"shorter than its header", Bytes(23, 0)},
        {"one pixel byte short", FrameFile(4, 3)},
        {"negative width", Header(-1, 2)},
    };
    cases[2].bytes.pop_back();
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileBytes(path_, c.bytes));
        DWORD size = kMaxRawFrameBytes;
        EXPECT_FALSE(Read(&size)) << c.what;
        EXPECT_EQ(c.bytes.size(), size) << c.what;
    }
}

TEST(UsableFrame, HeaderMustFitWhatWasRead) {
    Bytes buffer = FrameFile(4, 3, 10);
    const DWORD exact = 24 + 4 * 3 * 3;
    EXPECT_TRUE(IsUsableFrame(buffer.data(), exact, kFrameBufferBytes));
    EXPECT_TRUE(IsUsableFrame(buffer.data(), exact + 10, kFrameBufferBytes));
    EXPECT_FALSE(IsUsableFrame(buffer.data(), exact - 1, kFrameBufferBytes));
    EXPECT_FALSE(IsUsableFrame(buffer.data(), 23, kFrameBufferBytes));
    EXPECT_FALSE(IsUsableFrame(buffer.data(), exact, exact - 1)) << "more than the capacity";
}

TEST(UsableFrame, EmptyFramesAreValidAndNegativeOnesAreNot) {
    EXPECT_TRUE(IsUsableFrame(Header(0, 480).data(), 24, kFrameBufferBytes));
    EXPECT_TRUE(IsUsableFrame(Header(640, 0).data(), 24, kFrameBufferBytes));
    EXPECT_FALSE(IsUsableFrame(Header(-640, 480).data(), 24, kFrameBufferBytes));
    EXPECT_FALSE(IsUsableFrame(Header(640, -480).data(), 24, kFrameBufferBytes));
    EXPECT_FALSE(IsUsableFrame(Header(-1, -1).data(), 24, kFrameBufferBytes));
}

TEST(RawFramePath, FollowsTheWindowsDirectoryWhenItFits) {
    char path[MAX_PATH];
    ASSERT_TRUE(BuildRawFramePath("C:\\WINDOWS", 10, path));
    EXPECT_STREQ("C:\\WINDOWS\\Temp\\oximg.raw", path);

    // 244 characters plus "\Temp\oximg.raw" and the terminator fill 260 exactly.
    const std::string longest(244, 'w');
    ASSERT_TRUE(BuildRawFramePath(longest.c_str(), 244, path));
    EXPECT_EQ(259u, std::strlen(path));
    const std::string tooLong(245, 'w');
    EXPECT_FALSE(BuildRawFramePath(tooLong.c_str(), 245, path));
    EXPECT_STREQ("", path);
}

TEST(RawFramePath, NoDirectoryMeansNoPath) {
    char path[MAX_PATH] = "left over";
    EXPECT_FALSE(BuildRawFramePath("", 0, path));
    EXPECT_STREQ("", path);
    // The platform reports the length it needs when the buffer is too small.
    EXPECT_FALSE(BuildRawFramePath("C:\\x", 300, path));
    EXPECT_STREQ("", path);
}

} // namespace
