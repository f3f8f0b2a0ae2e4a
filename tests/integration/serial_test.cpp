// The serial port over a socat pseudo-terminal pair: what opens, bytes crossing with even parity
// asked where the device ignores parity, and reads that end when the line falls silent; and an
// RS-485 reader's flag set through it, the test playing the reader at the other end and
// answering with success, a wrong flag, or not at all.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "integration_home.h"
#include "platform/mw_sync_com.h"
#include "recording_user_port.h"
#include "remote/set485_reader.h"
#include "socat_pty.h"

using namespace quorvane;
using namespace quorvane::test;
using namespace std::chrono_literals;
using platform::MWSyncCom;
using platform::SerialSettings;

TEST(SerialPort, WhatIsNotASerialDeviceDoesNotOpen) {
    std::string dir = scratchDir("serial");
    writeFile(dir + "/plain", "x");
    MWSyncCom com;
    EXPECT_FALSE(com.open(dir + "/plain", SerialSettings{}));
    EXPECT_FALSE(com.isOpen());
    EXPECT_FALSE(com.open(dir + "/missing", SerialSettings{}));
    EXPECT_NE(com.lastErrno(), 0);
    SerialSettings odd;
    odd.baud = 12345;
    EXPECT_FALSE(com.open(dir + "/plain", odd));
}

// Every byte value crosses with even parity asked; then a read ends when the line falls silent
// or the buffer is full.
TEST(SerialPort, BytesCrossThePairIntactAndAReadEndsOnSilenceOrAFullBuffer) {
    std::string dir = scratchDir("serial");
    SocatPty pty(dir + "/tool", dir + "/device");
    ASSERT_TRUE(pty.ready) << pty.socat.output();
    MWSyncCom tool, device;
    ASSERT_TRUE(tool.open(pty.near, SerialSettings{})) << tool.lastErrno();
    ASSERT_TRUE(device.open(pty.far, SerialSettings{})) << device.lastErrno();
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    ASSERT_TRUE(tool.write(asBytes(all)));
    std::string got(256, '\0');
    auto n = device.read(MutableBytes(reinterpret_cast<std::uint8_t*>(got.data()), got.size()), 5s,
                         500ms);
    EXPECT_EQ(n, 256u);
    EXPECT_EQ(hex(got), hex(all));

    auto writer = std::async(std::launch::async, [&] {
        device.write(asBytes(std::string("abc")));
        // A pause well past the gap: the tool's first read ends with "abc".
        std::this_thread::sleep_for(600ms);
        device.write(asBytes(std::string("defghij")));
    });
    std::array<std::uint8_t, 5> buffer{};
    EXPECT_EQ(tool.read(buffer, 5s, 150ms), 3u);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 3), "abc");
    // Five of the seven bytes fill the buffer; the rest waits for the next read.
    EXPECT_EQ(tool.read(buffer, 5s, 150ms), 5u);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "defgh");
    EXPECT_EQ(tool.read(buffer, 5s, 150ms), 2u);
    writer.get();
    // Silence: nothing within the first-byte wait.
    EXPECT_EQ(tool.read(buffer, 200ms, 150ms), 0u);
}

namespace {

// Serial 41872093, flag 3: 0x09 "AXC" serial flag, the XOR 0x52 as "52", 0x0D.
const std::string kFrame = unhex("09 415843 3431383732303933 03 3532 0D");

struct ReaderCase {
    const char* name;
    std::string answer; // empty: silence
    const char* text;
    bool byCli = false; // through quorvane-cli, which prints the text and exits with its code
};

class ReaderAnswer : public ::testing::TestWithParam<ReaderCase> {};

} // namespace

TEST_P(ReaderAnswer, TheLineIsSentAndTheAnswerJudged) {
    const ReaderCase& c = GetParam();
    const std::string scratch = scratchDir("set485");
    // The tool's COM1 is one end of the pair; the reader listens on the other, its port open
    // before the tool writes (opening drops what waits in a port).
    IntegrationHome h(0, "\n[port]\ncom-device=" + scratch + "/com%d");
    SocatPty pty(scratch + "/com0", scratch + "/reader");
    ASSERT_TRUE(pty.ready) << pty.socat.output();
    platform::MWSyncCom device;
    ASSERT_TRUE(device.open(pty.far, platform::SerialSettings{}));
    auto reader = std::async(std::launch::async, [&] {
        std::string got(32, '\0');
        got.resize(device.read(
            MutableBytes(reinterpret_cast<std::uint8_t*>(got.data()), got.size()), 10s, 300ms));
        if (!c.answer.empty())
            device.write(asBytes(c.answer));
        return got;
    });
    const bool ok = std::string(c.text) == "操作成功！";
    if (c.byCli) {
        int code = -1;
        EXPECT_EQ(h.cli({"set485", "--com", "1", "--serial", "41872093", "--flag", "3"}, &code),
                  std::string(c.text) + "\n");
        EXPECT_EQ(code, ok ? 0 : 1);
    } else {
        RecordingUserPort port;
        Settings settings(h.home);
        EXPECT_EQ(setReaderFlag(settings, port, Set485Request{"41872093", 3, 1}), ok ? 0 : -1);
        EXPECT_EQ(port.messages(), std::vector<std::string>{c.text});
    }
    EXPECT_EQ(hex(reader.get()), hex(kFrame));
}

// Which answers pass is the answer check's own table; the command line's run takes a wrong flag.
INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderAnswer,
    ::testing::Values(ReaderCase{"Success", std::string("\x0A\x00\x03\x00\x00\x00\x0D", 7),
                                 "操作成功！"},
                      ReaderCase{"Silence", std::string(), "操作失败！"},
                      ReaderCase{"WrongFlagByCli", std::string("\x0A\x00\x05\x00\x00\x00\x0D", 7),
                                 "操作失败！", true}),
    [](const auto& info) { return std::string(info.param.name); });
