// The payloads of the remote commands byte by byte: the open-door command's door and time
// value, and the RS-485 reader's flag line with its answer check. A time the value cannot carry
// is refused by each open command (remote_commands_test).
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

struct OpenCase {
    const char* name;
    int doorNumber;
    long milliseconds;
    const char* payload; // hex
};

class OpenDoorPayload : public ::testing::TestWithParam<OpenCase> {};

} // namespace

TEST_P(OpenDoorPayload, IsTheDoorThenTheTimeValueBigEndian) {
    auto value = openTimeValue(GetParam().milliseconds);
    ASSERT_TRUE(value);
    EXPECT_EQ(hex(text(openDoorPayload(static_cast<std::uint8_t>(GetParam().doorNumber), *value))),
              hex(test::unhex(GetParam().payload)));
}

INSTANTIATE_TEST_SUITE_P(Cases, OpenDoorPayload,
                         ::testing::Values(OpenCase{"Relay2ThreeSeconds", 2, 3000, "02012C"},
                                           OpenCase{"Relay1HoldEnergised", 1, 650030, "01FDEB"},
                                           OpenCase{"Relay1FiveHundredMs", 1, 500, "010032"},
                                           OpenCase{"Door3FiveSeconds", 3, 5000, "0301F4"},
                                           // The remainder below 10 ms is dropped.
                                           OpenCase{"RemainderDropped", 1, 1234, "01007B"},
                                           OpenCase{"NineMsIsZero", 1, 9, "010000"},
                                           OpenCase{"LongestTime", 164, 655350, "A4FFFF"},
                                           OpenCase{"AutoState", 4, 650010, "04FDE9"},
                                           OpenCase{"ReleaseState", 4, 650050, "04FDED"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReaderFlagFrame, SerialAndFlagWithTheirXorInHex) {
    // 0x09 "AXC" "41872093" 0x03, XOR 0x52 as "52", 0x0D.
    EXPECT_EQ(hex(text(readerFlagFrame("41872093", 3))),
              hex(test::unhex("09 41 58 43 3431383732303933 03 3532 0D")));
    // The XOR is written in upper case: serial "00000000" with flag 0xF0 gives 0xA3.
    EXPECT_EQ(text(readerFlagFrame("00000000", 0xF0)).substr(13, 2), "A3");
}

namespace {
struct AnswerCase {
    const char* name;
    std::string answer;
    bool accepted;
};
class ReaderAnswer : public ::testing::TestWithParam<AnswerCase> {};
} // namespace

TEST_P(ReaderAnswer, IsAcceptedOnlyWithItsStartAndTheFlag) {
    const std::string& a = GetParam().answer;
    EXPECT_EQ(readerFlagAccepted(asBytes(a), 3), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderAnswer,
    ::testing::Values(AnswerCase{"Success", std::string("\x0A\x00\x03\x00\x00\x00\x0D", 7), true},
                      AnswerCase{"ThreeBytesAreEnough", std::string("\x0A\x01\x03", 3), true},
                      AnswerCase{"WrongFlag", std::string("\x0A\x00\x04\x00", 4), false},
                      AnswerCase{"WrongStart", std::string("\x0B\x00\x03", 3), false},
                      // Too short to hold the flag: nothing past the answer is read.
                      AnswerCase{"TwoBytes", std::string("\x0A\x03", 2), false},
                      AnswerCase{"Silence", std::string(), false}),
    [](const auto& info) { return std::string(info.param.name); });
