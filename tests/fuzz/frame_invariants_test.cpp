#include "frame_invariants.h"

#include "frame/bmp_layout.h"
#include "core/frame_header.h"
#include "frame/row_order.h"
#include "support/memory_sink.h"
#include "support/frame_corpus.h"
#include "support/frame_bytes.h"

#include <gtest/gtest.h>

#include <vector>

// The same checks as the fuzzer's, as a plain test: built natively and for
// the 32-bit Windows target, where size_t is 32 bits wide.

namespace {

FrameCheck Check(const Bytes& file) {
    return CheckRawFrameFile(file.data(), file.size());
}

TEST(FrameInvariants, HoldForEverySeedAndEachSeedMeetsTheFateItsNameGives) {
    const std::vector<Seed> corpus = ReadCorpus(OXVIEW_FUZZ_CORPUS);
    EXPECT_EQ(26u, corpus.size()) << "the seeds written by make_corpus.py";
    for (const Seed& seed : corpus) {
        SCOPED_TRACE(seed.name);
        ASSERT_NE(SeedFate::kUnnamed, seed.fate) << "a seed's name must say its fate";
        const FrameCheck check = Check(seed.bytes);
        EXPECT_EQ("", check.fault);
        EXPECT_EQ(seed.fate != SeedFate::kTurnedAway, check.accepted);
    }
}

// The largest frame with a long tail is the reader's (raw_frame_file_test).
TEST(FrameInvariants, TheReadLimitCutsLongFilesWhoseFrameStillFits) {
    // One more row than the limit leaves room for.
    const std::int64_t rows = (kMaxRawFrameBytes - kFrameHeaderBytes) / (1280 * 3);
    FrameCheck check = Check(RawFrameFileBytes(1280, rows + 1, kMaxRawFrameBytes));
    EXPECT_FALSE(check.accepted);
    EXPECT_EQ("", check.fault);
    check = Check(RawFrameFileBytes(1280, rows, kMaxRawFrameBytes));
    EXPECT_TRUE(check.accepted);

    // A claim above the whole buffer, with every byte of it in the file.
    check = Check(RawFrameFileBytes(1400, 1300, 1400u * 1300u * 3u));
    EXPECT_FALSE(check.accepted);
    EXPECT_EQ("", check.fault);
}

TEST(FrameInvariants, LayoutSizesAreRightInSixtyFourBitsAndTooLargeFilesAreRefused) {
    EXPECT_EQ(0x100000004ull, BmpStride(0x55555556));
    EXPECT_EQ(54ull + 0x100000004ull, BmpFileSize(0x55555556, 1));
    EXPECT_EQ(54ull + 6442450944ull * 0x7FFFFFFFull, BmpFileSize(0x7FFFFFFF, 0x7FFFFFFF));
    EXPECT_EQ(54ull, BmpFileSize(-3, 5));
    EXPECT_EQ(54ull, BmpFileSize(5, -3));

    // A file above 4 GiB cannot carry its own size: nothing is written.
    MemorySink sink;
    const std::uint8_t row[3] = {1, 2, 3};
    EXPECT_EQ(kBmpTooLarge, StreamBmp(row, 0x55555556, 1, sink));
    EXPECT_EQ(kBmpTooLarge, StreamBmp(row, 65536, 21846, sink)); // 4 GiB and a little
    EXPECT_EQ(0u, sink.requests.size()) << "nothing may be written";
    // Just below: 65536 x 21845 rows of 196,608 bytes, 54 bytes of headers.
    EXPECT_LE(BmpFileSize(65536, 21845), 0xFFFFFFFFull);
}

TEST(FrameInvariants, RowsTooLargeToAddressAreRefusedUntouched) {
    if (sizeof(std::size_t) != 4) {
        GTEST_SKIP() << "only a 32-bit address space is too small for these";
    }
    std::uint8_t block[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const Bytes before(block, block + 8);
    Bytes destination(8, 0xBD);
    // 3 GiB rows, 4 of them; 6 GiB rows, 2 of them: more than 32 bits can address.
    EXPECT_FALSE(ReverseRows(block, block, 8, 0x40000000, 4));
    EXPECT_FALSE(ReverseRows(block, block, 8, 0x7FFFFFFF, 2));
    EXPECT_FALSE(ReverseRows(block, destination.data(), 6, 0x7FFFFFFF, 2)) << "out of place";
    EXPECT_FALSE(ReverseRows(block, destination.data(), 6, -1, 2));
    EXPECT_FALSE(ReverseRows(block, block, 0x100000000ull, 1, 1));
    EXPECT_EQ(before, Bytes(block, block + 8));
    EXPECT_EQ(Bytes(8, 0xBD), destination);
}

} // namespace
