// The serial port over a socat pseudo-terminal pair: COM numbers to device paths, opening with
// even parity where the device ignores parity, and reads that end when the line falls silent.
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

namespace {
struct PathCase {
    const char* name;
    const char* pattern;
    int number;
    const char* path; // nullptr: none
};
class SerialPath : public ::testing::TestWithParam<PathCase> {};
} // namespace

TEST_P(SerialPath, TakesTheNumberMinusOneInPlaceOfItsMark) {
    auto path = platform::serialDevicePath(GetParam().pattern, GetParam().number);
    if (GetParam().path)
        EXPECT_EQ(path, GetParam().path);
    else
        EXPECT_FALSE(path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SerialPath,
    ::testing::Values(PathCase{"Com1", "/dev/ttyS%d", 1, "/dev/ttyS0"},
                      PathCase{"Com12", "/dev/ttyUSB%d", 12, "/dev/ttyUSB11"},
                      PathCase{"MarkInTheMiddle", "/run/com%d/tty", 2, "/run/com1/tty"},
                      // Only the first mark is replaced; nothing is read as a format.
                      PathCase{"TwoMarks", "/x%d%d", 3, "/x2%d"},
                      PathCase{"OtherFormats", "/dev/%s%n%d", 1, "/dev/%s%n0"},
                      PathCase{"NoMark", "/dev/ttyS0", 1, nullptr},
                      PathCase{"NoPort", "/dev/ttyS%d", 0, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

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

TEST(SerialPort, BytesCrossThePairIntactWithEvenParityAsked) {
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
}

TEST(SerialPort, AReadEndsWhenTheLineFallsSilentOrTheBufferIsFull) {
    std::string dir = scratchDir("serial");
    SocatPty pty(dir + "/tool", dir + "/device");
    ASSERT_TRUE(pty.ready) << pty.socat.output();
    MWSyncCom tool, device;
    ASSERT_TRUE(tool.open(pty.near, SerialSettings{}));
    ASSERT_TRUE(device.open(pty.far, SerialSettings{}));
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
