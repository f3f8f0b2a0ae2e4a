// A time the open value cannot carry is refused by each open command (remote_commands_test).
#include <gtest/gtest.h>

#include <string>

#include "protocol/open_door.h"
#include "protocol/reader_flag.h"
#include "test_paths.h"

using namespace quorvane;
using quorvane::test::hex;

namespace {

template <std::size_t N> std::string text(const std::array<std::uint8_t, N>& a) {
    return std::string(a.begin(), a.end());
}

std::string openPayload(std::uint8_t door, long milliseconds) {
    return hex(text(openDoorPayload(door, openTimeValue(milliseconds).value())));
}

bool accepted(const std::string& answer) {
    return readerFlagAccepted(asBytes(answer), 3);
}

} // namespace

TEST(OpenDoorPayload, IsTheDoorThenTheTimeValueBigEndian) {
    EXPECT_EQ(openPayload(1, 1234), "01 00 7B"); // the remainder below 10 ms is dropped
    EXPECT_EQ(openPayload(164, 655350), "A4 FF FF");
}

TEST(ReaderFlagFrame, SerialAndFlagWithTheirXorInHex) {
    // 0x09 "AXC" "41872093" 0x03, XOR 0x52 as "52", 0x0D.
    EXPECT_EQ(hex(text(readerFlagFrame("41872093", 3))),
              hex(test::unhex("09 41 58 43 3431383732303933 03 3532 0D")));
    // The XOR is written in upper case: serial "00000000" with flag 0xF0 gives 0xA3.
    EXPECT_EQ(text(readerFlagFrame("00000000", 0xF0)).substr(13, 2), "A3");
}

TEST(ReaderAnswer, IsAcceptedOnlyWithItsStartAndTheFlag) {
    EXPECT_TRUE(accepted(std::string("\x0A\x01\x03", 3)));
    EXPECT_FALSE(accepted(std::string("\x0A\x00\x04\x00", 4)));
    EXPECT_FALSE(accepted(std::string("\x0B\x00\x03", 3)));
    // Too short to hold the flag: nothing past the answer is read.
    EXPECT_FALSE(accepted(std::string("\x0A\x03", 2)));
}
