#include "app/application_record.h"
#include "core/safe_file_writer.h"
#include "frame/bmp_export.h"
#include "support/frame_bytes.h"
#include "support/memory_sink.h"
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

// A record as the viewer holds it after start-up: the raw file's bytes in
// the frame buffer, rows then turned top first.
void LoadAsViewer(ApplicationRecord& record, const Bytes& raw) {
    std::memcpy(record.frameBuffer->bytes(), raw.data(), raw.size());
    record.frameLoaded = true;
    record.width = record.frameBuffer->header.Width();
    record.height = record.frameBuffer->header.Height();
    BYTE* pixels = record.frameBuffer->pixels;
    ASSERT_TRUE(record.ReverseRowOrder(pixels, pixels, record.width, record.height));
}

// The record opens the settings key when it is built: the key is the test's.
class BmpExport : public ::testing::Test {
  protected:
    SettingsKeyGuard settings_;
    ApplicationRecord record;
};

TEST_F(BmpExport, FileRowsComeOutInTheRawFilesOrder) {
    const Bytes raw = RawFrameFileBytes(5, 3, 5 * 3 * 3);
    LoadAsViewer(record, raw);
    MemorySink sink;
    ASSERT_EQ(0u, WriteFrameAsBmp(record, sink));
    ASSERT_EQ(54u + 16u * 3u, sink.bytes.size());
    for (int row = 0; row < 3; ++row) {
        const auto rawRow = raw.begin() + 24 + row * 15;
        const auto fileRow = sink.bytes.begin() + 54 + row * 16;
        EXPECT_EQ(Bytes(rawRow, rawRow + 15), Bytes(fileRow, fileRow + 15)) << "row " << row;
        EXPECT_EQ(0, fileRow[15]);
    }
}

TEST_F(BmpExport, SavingTwiceGivesTheSameBytesAndLeavesTheFrameBuffer) {
    LoadAsViewer(record, RawFrameFileBytes(7, 4, 7 * 4 * 3));
    const BYTE* buffer = record.frameBuffer->bytes();
    const Bytes before(buffer, buffer + 24 + 7 * 4 * 3);
    MemorySink first;
    MemorySink second;
    ASSERT_EQ(0u, WriteFrameAsBmp(record, first));
    ASSERT_EQ(0u, WriteFrameAsBmp(record, second));
    EXPECT_EQ(first.bytes, second.bytes);
    EXPECT_EQ(before, Bytes(buffer, buffer + before.size()));
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
