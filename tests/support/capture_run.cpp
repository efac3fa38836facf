#include "support/capture_run.h"

#include "support/child_process.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

// Read in the C runtime's text mode, which turns CR LF back into LF.
std::string TextOf(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

CaptureRun RunCapture(const std::string& arguments, const std::string& exe, DWORD deadlineMs) {
    CaptureRun run;
    const std::string outPath = ScratchPath("stdout.txt");
    const std::string errPath = ScratchPath("stderr.txt");
    {
        ChildProcess capture; // ended here, if it still runs, before its output is read
        if (!capture.Start(CommandLine(exe, arguments), exe, outPath, errPath)) {
            ADD_FAILURE() << "cannot start " << exe << " " << arguments << ": " << GetLastError();
            return run;
        }
        run.exitCode = capture.WaitForExit(deadlineMs);
        run.peakMemory = capture.PeakMemory();
        EXPECT_FALSE(capture.Running())
            << exe << " " << arguments << " did not end within " << deadlineMs << " ms";
    }
    run.out = TextOf(outPath);
    run.err = TextOf(errPath);
    return run;
}

void ExpectRefused(const CaptureRun& run, const std::string& start) {
    EXPECT_EQ(1, run.exitCode) << run.err;
    EXPECT_EQ(0u, run.err.find(start))
        << "got \"" << run.err << "\", expected \"" << start << "...\"";
    EXPECT_EQ(run.err.size() - 1, run.err.find('\n')) << "not one line: \"" << run.err << "\"";
    EXPECT_EQ("", run.out);
}

Frame ReadRawFrame() {
    const Bytes file = ReadFileBytes(RawFramePath());
    if (file.size() < 24 || std::string(file.begin(), file.begin() + 16) !=
                                std::string("OXRAWFRM\1\0\0\0\0\0\0\0", 16)) {
        return Frame();
    }
    const Frame frame = FrameFromRawBytes(file);
    const bool whole =
        frame.width > 0 && frame.height > 0 && file.size() == 24 + frame.topFirst.size();
    return whole ? frame : Frame();
}
