#include "core/program_folder.h"
#include "core/system_message.h"
#include "support/paths.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ProgramFolder, IsThePathCutAfterItsLastBackslash) {
    struct Case {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Program Files\\Orbilux\\oxview.exe", "C:\\Program Files\\Orbilux\\"},
        {"C:\\oxview.exe", "C:\\"},
        {"oxview.exe", "oxview.exe"},
        {"\\oxview.exe", "\\oxview.exe"}, // only a backslash after the first character counts
        {"", ""},
    };
    for (const Case& c : cases) {
        char buffer[MAX_PATH];
        std::strcpy(buffer, c.path);
        CutAfterLastBackslash(buffer);
        EXPECT_STREQ(c.folder, buffer) << "from " << c.path;
    }
    char full[MAX_PATH];
    std::memset(full, 'a', sizeof(full)); // no terminator anywhere
    full[10] = '\\';
    CutAfterLastBackslash(full);
    EXPECT_EQ(11u, std::strlen(full));
}

TEST(ProgramFolder, IsTheFolderThisProgramRunsFrom) {
    char folder[MAX_PATH] = "left over";
    ASSERT_TRUE(ProgramFolder(folder));
    EXPECT_EQ(TestFolder(), folder);
}

TEST(SystemMessage, IsTheSystemsTextOnOneLineWithoutItsFullStop) {
    const std::string text = SystemMessage(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(std::string::npos, text.find_first_of("\r\n")) << text;
    EXPECT_NE('.', text.back()) << text;
    EXPECT_EQ("system error 3735928559", SystemMessage(0xDEADBEEF));
    char lines[] = "One line.\r\nAnother.\n\nA third.\r\n";
    EXPECT_EQ("One line. Another. A third",
              std::string(lines, OneLineOfWords(lines, sizeof(lines) - 1)));
}

} // namespace
