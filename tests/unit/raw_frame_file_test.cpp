#include "app/application_record.h"
#include "core/raw_frame_path.h"
#include "core/win32_handles.h"
#include "support/files.h"
#include "support/frame_bytes.h"
#include "support/settings_key_guard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The header of a width x height frame followed by that frame's pixels and extra bytes more.
Bytes FrameFile(int width, int height, size_t extra = 0) {
    return RawFrameFileBytes(width, height, static_cast<size_t>(width) * height * 3 + extra);
}

class RawFrameFileReader : public ::testing::Test {
  protected:
    // Reads through a fresh record into a sentinel-filled frame buffer.
    bool Read(DWORD* size) {
        std::memset(record_.frameBuffer->bytes(), 0xBD, kFrameBufferBytes);
        return record_.ReadRawFrameFile(record_.frameBuffer, size);
    }

    RawFrameFileGuard rawFrame_;
    const std::string path_ = RawFramePath();
    SettingsKeyGuard settings_; // the record opens the settings key
    ApplicationRecord record_;
};

TEST_F(RawFrameFileReader, BuildsThePathEvenWithoutADestinationOrAFile) {
    DWORD size = kMaxRawFrameBytes;
    EXPECT_FALSE(record_.ReadRawFrameFile(nullptr, &size));
    EXPECT_EQ(path_, record_.rawFilePath);
    std::strcpy(record_.rawFilePath, "left over");
    EXPECT_FALSE(Read(&size)) << "no file";
    EXPECT_EQ(path_, record_.rawFilePath);
}

// Which headers fit their bytes is walked by the fuzz corpus's seeds.
TEST_F(RawFrameFileReader, ReadsUpToTheLimitAndTakesOnlyFramesThatFit) {
    struct Case {
        const char* what;
        Bytes bytes;
        bool usable;
    } cases[] = {
        {"exact length", FrameFile(4, 3), true},
        {"surplus bytes", FrameFile(4, 3, 100), true},
        {"the largest frame and a long tail", FrameFile(1280, 1024, 100000), true},
        {"empty file", {}, false},
        {"shorter than its header", Bytes(23, 0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteFileBytes(path_, c.bytes));
        DWORD size = kMaxRawFrameBytes;
        EXPECT_EQ(c.usable, Read(&size));
        // Of a longer file only the cap, 1280 x 1024 x 3 + 64, is read; the sentinel stays beyond.
        const DWORD expected = std::min<DWORD>(c.bytes.size(), 3932224);
        ASSERT_EQ(expected, size);
        const BYTE* read = record_.frameBuffer->bytes();
        EXPECT_EQ("equal", FirstDifference(Bytes(read, read + size),
                                           Bytes(c.bytes.begin(), c.bytes.begin() + size)));
        EXPECT_EQ(0xBD, read[size]);
    }
}

TEST_F(RawFrameFileReader, OpensTheFileAloneAndKeepsNothingOpen) {
    ASSERT_TRUE(WriteFileBytes(path_, FrameFile(2, 2)));
    DWORD size = kMaxRawFrameBytes;
    {
        KernelHandle holder(CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder.valid());
        EXPECT_FALSE(Read(&size)) << "read a file held open without sharing";
    }
    size = kMaxRawFrameBytes;
    EXPECT_TRUE(Read(&size));
    // The file can be opened exclusively right after the read.
    KernelHandle after(CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(after.valid());
}

TEST(RawFramePath, FollowsTheWindowsDirectoryWhenThereIsOneThatFits) {
    char path[MAX_PATH];
    ASSERT_TRUE(BuildRawFramePath("C:\\WINDOWS", 10, path));
    EXPECT_STREQ("C:\\WINDOWS\\Temp\\oximg.raw", path);

    // 244 characters plus "\Temp\oximg.raw" and the terminator fill 260 exactly.
    ASSERT_TRUE(BuildRawFramePath(std::string(244, 'w').c_str(), 244, path));
    EXPECT_EQ(259u, std::strlen(path));
    EXPECT_FALSE(BuildRawFramePath(std::string(245, 'w').c_str(), 245, path));
    EXPECT_STREQ("", path);

    std::strcpy(path, "left over");
    EXPECT_FALSE(BuildRawFramePath("", 0, path)) << "no Windows directory";
    EXPECT_STREQ("", path);
    // The platform reports the length it needs when the buffer is too small.
    EXPECT_FALSE(BuildRawFramePath("C:\\x", 300, path));
    EXPECT_STREQ("", path);
}

} // namespace
