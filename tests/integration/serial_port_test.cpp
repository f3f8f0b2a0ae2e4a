// The serial port over a socat pseudo-terminal pair: opening with even parity where the device
// ignores parity, and reads that end when the line falls silent.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "platform/mw_sync_com.h"
#include "socat_pty.h"
#include "test_paths.h"

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
