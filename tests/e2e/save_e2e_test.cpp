#include "viewer_test.h"
#include "resources/resource_ids.h"

#include <cstdlib>

namespace {

class SaveAsBmp : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        folder_ = BuildFolder() + "e2e-output\\";
        CreateDirectoryA(folder_.c_str(), nullptr); // may exist from an earlier run
        target_ =
            folder_ + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bmp";
        DeleteFileA(target_.c_str());
    }

    std::vector<std::string> TemporaryFiles() const { return FileNames(folder_, ".tmp"); }

    std::string folder_;
    std::string target_;
};

// Twice over a file, the second time its own; each save proposes the name (SaveThroughDialog).
TEST_F(SaveAsBmp, WritesAnExactBmpReplacingAFileWithoutAskingAndLeavesNoTemporaryFile) {
    const Frame frame = PatternFrame(201, 150); // 603-byte rows need one fill byte
    HWND window = nullptr;
    ASSERT_TRUE(StartOn(frame, window));
    for (const char* save : {"first save", "second save"}) {
        SCOPED_TRACE(save);
        // Other bytes each time, so the wait below sees this save finish.
        ASSERT_TRUE(WriteFileBytes(target_, std::vector<BYTE>(5000, 0xAB)));
        ASSERT_TRUE(SaveThroughDialog(window, target_));
        // Watched by its size, never opened before: a read in the very moment
        // of the replace made it fail under Wine, delete sharing or not. Done
        // once it opens sharing nothing: the rename holds it a moment longer.
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        EXPECT_TRUE(PollWithoutPumping([&] {
            return GetFileAttributesExA(target_.c_str(), GetFileExInfoStandard, &data) &&
                   data.nFileSizeLow == BmpFileBytes(frame).size() &&
                   KernelHandle(CreateFileA(target_.c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr))
                       .valid();
        }));
        EXPECT_EQ("equal", FirstDifference(ReadFileBytes(target_), BmpFileBytes(frame)));
        EXPECT_EQ(nullptr, viewer_.FindWindowOf("#32770", nullptr)) << "a question was asked";
    }
    EXPECT_EQ(std::vector<std::string>{}, TemporaryFiles());
    EXPECT_TRUE(EndWithEsc(viewer_, window));
}

TEST_F(SaveAsBmp, AFileHeldOpenElsewhereIsKeptAndTheUserIsTold) {
    const std::vector<BYTE> old(3000, 0x42);
    ASSERT_TRUE(WriteFileBytes(target_, old));
    KernelHandle holder(CreateFileA(target_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    HWND window = nullptr;
    ASSERT_TRUE(StartOn(PatternFrame(160, 120), window));
    ASSERT_TRUE(SaveThroughDialog(window, target_));

    HWND box = viewer_.WaitForWindow("#32770", "OrbiluxCap_KT5810");
    ASSERT_NE(nullptr, box) << "no message about the failed save";
    EXPECT_EQ(window, GetWindow(box, GW_OWNER));
    std::string message;
    for (const std::string& text : ChildTexts(box, "Static")) {
        message += text + "\n";
    }
    EXPECT_NE(std::string::npos, message.find(target_)) << "[" << message << "] does not name it";
    ASSERT_TRUE(Focus(box));
    PressKey(VK_RETURN);
    EXPECT_TRUE(PollWithoutPumping([&] { return !IsWindow(box); })) << "the message stayed open";
    holder.Close();
    EXPECT_EQ("equal", FirstDifference(ReadFileBytes(target_), old)) << "the old file was touched";
    EXPECT_EQ(std::vector<std::string>{}, TemporaryFiles());
    PostMessageA(window, WM_COMMAND, IDM_FILE_EXIT, 0);
    EXPECT_EQ(0, viewer_.WaitForExit());
}

TEST_F(SaveAsBmp, ABareNameLandsInThePicturesFolder) {
    // The dialog opens in Pictures (under Wine a link to the Unix home folder).
    const std::string name = "bare-name-save.bmp";
    const std::string expected = std::string(std::getenv("USERPROFILE")) + "\\Pictures\\" + name;
    DeleteFileA(expected.c_str());
    const Frame frame = PatternFrame(64, 48);
    HWND window = nullptr;
    ASSERT_TRUE(StartOn(frame, window));
    // Cancelled first, with the dialog's Cancel button: the viewer goes on.
    const HWND dialog = OpenSaveDialog(window);
    ASSERT_NE(nullptr, dialog);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PollWithoutPumping([&] { return !IsWindow(dialog); })) << "the dialog stayed";
    ASSERT_TRUE(SaveThroughDialog(window, name));
    EXPECT_TRUE(PollWithoutPumping([&] { return ReadFileBytes(expected) == BmpFileBytes(frame); }))
        << "nothing right at " << expected;
    DeleteFileA(expected.c_str());
    EXPECT_TRUE(EndWithEsc(viewer_, window));
}

} // namespace
