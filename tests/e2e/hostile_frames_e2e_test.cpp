#include "viewer_test.h"

#include "support/frame_corpus.h"
#include "support/frame_bytes.h"

namespace {

using HostileFrames = ViewerTest;

// Starts the viewer on the file: without shows it ends with no window, with
// it the client area comes to show it and Esc ends it. The file is gone after.
AssertionResult EndsAsItShould(const std::vector<BYTE>& file,
                               const std::function<bool(const ScreenShot&)>& shows = nullptr) {
    ChildProcess viewer;
    if (!WriteFileBytes(RawFramePath(), file) || !viewer.StartViewerWithTail()) {
        return AssertionFailure() << "cannot place the file or start the viewer";
    }
    if (!shows) {
        if (viewer.WaitForWindow(nullptr, nullptr) != nullptr || viewer.WaitForExit() != 0) {
            return AssertionFailure() << "a window showed, or it crashed or hung";
        }
    } else {
        HWND window = viewer.WaitForMainWindow();
        // Room to look at, for all of a frame: a small or empty one's window has no client rows.
        if (window == nullptr ||
            !SetWindowPos(window, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER) ||
            !PollWithoutPumping([&] { return shows(CaptureClient(window)); })) {
            return AssertionFailure() << "the window never showed what it should";
        }
        if (AssertionResult ended = EndWithEsc(viewer, window); !ended) {
            return ended;
        }
    }
    return FileExists(RawFramePath()) ? AssertionFailure() << "the raw frame file is left"
                                      : AssertionSuccess();
}

bool PlainBackground(const ScreenShot& shot) {
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    // An empty shot shows nothing, not the background.
    return !shot.pixels.empty() && std::all_of(shot.pixels.begin(), shot.pixels.end(),
                                               [&](COLORREF pixel) { return pixel == background; });
}

TEST_F(HostileFrames, EverySeedOfTheCorpusEndsAsItsNameSays) {
    const std::vector<Seed> corpus = ReadCorpus(OXVIEW_FUZZ_CORPUS);
    ASSERT_EQ(26u, corpus.size());
    for (const Seed& seed : corpus) {
        SCOPED_TRACE(seed.name);
        ASSERT_NE(SeedFate::kUnnamed, seed.fate) << "a seed's name must say its fate";
        const Frame frame = seed.fate == SeedFate::kShown ? FrameFromRawBytes(seed.bytes) : Frame();
        const std::function<bool(const ScreenShot&)> shows = [&](const ScreenShot& shot) {
            return seed.fate == SeedFate::kEmpty
                       ? PlainBackground(shot)
                       : shot.height >= frame.height && CountFrameMismatches(shot, frame) == 0;
        };
        EXPECT_TRUE(
            EndsAsItShould(seed.bytes, seed.fate == SeedFate::kTurnedAway ? nullptr : shows));
    }
}

} // namespace
