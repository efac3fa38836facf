#include "support/capture_run.h"

#include "support/child_process.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <algorithm>
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
            run.err = "cannot start " + exe + ": error " + std::to_string(GetLastError());
            return run;
        }
        run.exitCode = capture.WaitForExit(deadlineMs);
        run.peakMemory = capture.PeakMemory();
        if (capture.Running()) {
            run.err = "did not end within " + std::to_string(deadlineMs) + " ms";
            return run;
        }
    }
    run.out = TextOf(outPath);
    run.err = TextOf(errPath);
    return run;
}

::testing::AssertionResult Refused(const CaptureRun& run, const std::string& start) {
    if (run.exitCode == 1 && run.err.find(start) == 0 && run.err.find('\n') == run.err.size() - 1 &&
        run.out.empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "exit code " << run.exitCode << ", standard error \"" << run.err
           << "\", standard output \"" << run.out << "\"; expected exit code 1 and one line \""
           << start << "...\"";
}

Frame ReadRawFrame() {
    const Bytes file = ReadFileBytes(RawFramePath());
    const Frame frame = FrameFromRawBytes(file); // empty when the size does not fit the file
    const bool whole = file.size() >= 24 &&
                       std::equal(file.begin(), file.begin() + 16, "OXRAWFRM\1\0\0\0\0\0\0\0") &&
                       frame.width > 0 && frame.height > 0 &&
                       file.size() == 24 + frame.topFirst.size();
    return whole ? frame : Frame();
}
