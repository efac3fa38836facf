#include "app/command_tail.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool NoLeadBytes(unsigned char) {
    return false;
}
// Stands in for a double-byte code page, where 0x81 opens a two-byte character.
bool LeadByte81(unsigned char byte) {
    return byte == 0x81;
}

std::string Tail(const char* commandLine, LeadBytePredicate isLeadByte = NoLeadBytes) {
    return CommandTail(commandLine, isLeadByte);
}

TEST(CommandTail, NothingOrOnlyBlanksAfterTheNameIsEmpty) {
    EXPECT_EQ("", Tail("oxview.exe"));
    EXPECT_EQ("", Tail("oxview.exe   "));
    EXPECT_EQ("", Tail("oxview.exe \t \t"));
    EXPECT_EQ("", Tail("\"C:\\Program Files\\Orbilux\\oxview.exe\""));
    EXPECT_EQ("", Tail("\"C:\\Program Files\\Orbilux\\oxview.exe\" \t "));
    EXPECT_EQ("", Tail(""));
    EXPECT_EQ("", Tail(nullptr));
}

TEST(CommandTail, WhatFollowsTheBlanksIsTheTailUnchanged) {
    EXPECT_EQ("x", Tail("oxview.exe x"));
    EXPECT_EQ("go  on\t", Tail("oxview.exe \t go  on\t"));
    EXPECT_EQ("\"quoted arg\"", Tail("oxview.exe \"quoted arg\""));
    EXPECT_EQ("-f", Tail("\"C:\\Program Files\\Orbilux\\oxview.exe\" -f"));
}

TEST(CommandTail, QuotesAnywhereInTheNameKeepBlanksInside) {
    EXPECT_EQ("tail", Tail("C:\\Orbi\"lux Cap\"\\ox.exe tail"));
    // An unclosed quote runs to the end: all of it is the name.
    EXPECT_EQ("", Tail("\"C:\\open quote\\ox.exe tail"));
}

TEST(CommandTail, AnyControlCharacterEndsTheName) {
    EXPECT_EQ("x", Tail("oxview.exe\x01x"));
    EXPECT_EQ("x", Tail("oxview.exe\r\nx"));
    // Bytes above 127 are ordinary characters of the name, not controls.
    EXPECT_EQ("y", Tail("ox\xA0view.exe y"));
}

TEST(CommandTail, LeadByteTakesTheNextByteAlong) {
    // The blank after the lead byte is its trail byte, so the name goes on.
    EXPECT_EQ("", Tail("ox\x81 x", LeadByte81));
    EXPECT_EQ("x", Tail("ox\x81 x", NoLeadBytes));
    EXPECT_EQ("y", Tail("ox\x81 x y", LeadByte81));
    // A quote as trail byte does not open a quoted stretch.
    EXPECT_EQ("tail", Tail("ox\x81\" tail", LeadByte81));
    // A lead byte at the very end does not run past the terminator.
    EXPECT_EQ("", Tail("ox\x81", LeadByte81));
}

} // namespace
