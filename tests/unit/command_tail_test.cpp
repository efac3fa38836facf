#include "app/command_tail.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const LeadBytePredicate kNoLeadBytes = [](unsigned char) { return false; };
// Stands in for a double-byte code page, where 0x81 opens a two-byte character.
const LeadBytePredicate kLeadByte81 = [](unsigned char byte) { return byte == 0x81; };

TEST(CommandTail, IsWhatFollowsTheProgramsNameAndTheBlanksAfterIt) {
    const struct {
        const char* commandLine;
        const char* tail;
        LeadBytePredicate isLeadByte = kNoLeadBytes;
    } cases[] = {
        // Nothing or only blanks after the name.
        {"oxview.exe", ""},
        {"oxview.exe \t \t", ""},
        {"\"C:\\Program Files\\Orbilux\\oxview.exe\"", ""},
        {"\"C:\\Program Files\\Orbilux\\oxview.exe\" \t ", ""},
        {"", ""},
        {nullptr, ""},
        // The rest, unchanged.
        {"oxview.exe x", "x"},
        {"oxview.exe \t go  on\t", "go  on\t"},
        {"oxview.exe \"quoted arg\"", "\"quoted arg\""},
        {"\"C:\\Program Files\\Orbilux\\oxview.exe\" -f", "-f"},
        // Quotes in the name keep blanks inside; an unclosed quote makes the rest all name.
        {"C:\\Orbi\"lux Cap\"\\ox.exe tail", "tail"},
        {"\"C:\\open quote\\ox.exe tail", ""},
        // Any control character ends the name; bytes above 127 do not.
        {"oxview.exe\x01x", "x"},
        {"oxview.exe\r\nx", "x"},
        {"ox\xA0view.exe y", "y"},
        // A lead byte takes the next byte along: a blank, a quote, but never the terminator.
        {"ox\x81 x", "", kLeadByte81},
        {"ox\x81 x", "x"},
        {"ox\x81 x y", "y", kLeadByte81},
        {"ox\x81\" tail", "tail", kLeadByte81},
        {"ox\x81", "", kLeadByte81},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.tail, CommandTail(c.commandLine, c.isLeadByte))
            << "[" << (c.commandLine ? c.commandLine : "null") << "]";
    }
}

} // namespace
