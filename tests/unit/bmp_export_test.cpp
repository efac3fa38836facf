#include "app/application_record.h"
#include "core/safe_file_writer.h"
#include "frame/bmp_export.h"
#include "core/frame_header.h"
#include "support/files.h"
#include "support/settings_key_guard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

// Counts this program's allocations; out of line, it pairs with libstdc++'s delete (free).
static std::size_t g_allocations = 0;
__attribute__((noinline)) void* operator new(std::size_t size) {
    ++g_allocations;
    void* block = std::malloc(size != 0 ? size : 1);
    return block != nullptr ? block : throw std::bad_alloc();
}

namespace {

// The record opens the settings key when it is built: the key is the test's.
class BmpExport : public ::testing::Test {
  protected:
    SettingsKeyGuard settings_;
    ApplicationRecord record;
};

// Through the viewer's own save, from its frame buffer (top row first), against a hand-made BMP.
TEST_F(BmpExport, SavingWritesTheFrameBottomRowFirstAndLeavesTheFrameBuffer) {
    const Frame frame = PatternFrame(5, 3); // 15-byte rows, one byte of fill
    record.frameBuffer->header.SetSize(frame.width, frame.height);
    std::memcpy(record.frameBuffer->pixels, frame.topFirst.data(), frame.topFirst.size());
    record.frameLoaded = true;
    record.width = frame.width;
    record.height = frame.height;
    const std::string target = TestFolder() + "bmp-export-test.bmp";
    for (int save = 1; save <= 2; ++save) {
        SCOPED_TRACE("save " + std::to_string(save));
        ASSERT_EQ(0u, SaveFrameToBmpFile(record, target.c_str()));
        EXPECT_EQ("equal", FirstDifference(ReadFileBytes(target), BmpFileBytes(frame)));
        const BYTE* pixels = record.frameBuffer->pixels;
        EXPECT_EQ(frame.topFirst, Bytes(pixels, pixels + frame.topFirst.size()));
    }
    DeleteFileA(target.c_str());
}

TEST_F(BmpExport, AFailedSaveIsToldWithoutAllocatingInATextCutToFit) {
    const std::string target = "C:\\" + std::string(1200, 'x');
    char text[kSaveFailureTextSize];
    const std::size_t before = g_allocations;
    SaveFailureText(target.c_str(), ERROR_NOT_ENOUGH_MEMORY, false, text);
    EXPECT_EQ(before, g_allocations) << "allocations while out of memory";
    EXPECT_EQ(("The picture could not be saved to\n" + target).substr(0, sizeof(text) - 1), text);
    SaveFailureText("C:\\x.bmp", ERROR_ACCESS_DENIED, true, text);
    EXPECT_NE(nullptr, std::strstr(text, kCutShortLeft)) << text;
}

} // namespace
