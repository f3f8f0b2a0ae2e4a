// The simulator's encoder of the two configuration blocks a controller reports, against blocks
// written out here byte by byte from the block layout: the tool's decoders are tested on the
// same layout, so a simulator drifting from it would no longer agree with them.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "sim_config_blocks.h"
#include "test_paths.h"

using namespace quorvane;
using namespace quorvane::sim;
using quorvane::test::hex;

namespace {

void put(std::string& p, std::size_t at, std::initializer_list<int> bytes) {
    for (int b : bytes)
        p.at(at++) = static_cast<char>(b);
}
template <std::size_t N> void copyText(std::array<std::uint8_t, N>& a, const char* text) {
    for (std::size_t i = 0; text[i]; ++i)
        a[i] = static_cast<std::uint8_t>(text[i]);
}

// Every field with a value of its own, so a field written at the wrong offset shows.
BasicSettings sampleSettings(bool extended) {
    BasicSettings s;
    s.name = "abc";
    s.mac = {1, 2, 3, 4, 5, 6};
    s.ip = {192, 168, 1, 20};
    s.mask = {255, 255, 255, 0};
    s.gateway = {192, 168, 1, 254};
    s.hostAddress = {192, 168, 1, 100};
    s.devicePort = 65534;
    s.hostPort = 50000;
    s.reportMode = 2;
    s.groupNo = 1;
    s.hwVariant = 2;
    s.deviceNo = 7;
    copyText(s.operatorPassword, "123456");
    copyText(s.productSerial, "0123456789012345");
    s.reserved1.fill(0x11);
    s.reserved2.fill(0x22);
    s.ipAlloc = 2;
    s.blockVersion = extended ? 1 : 0;
    s.reservedBits = 1;
    s.hwModel = 10;
    s.reserved3 = {0x33, 0x44};
    s.netTimeout = 50;
    s.passTimeout = 261;
    s.firmware = "1.2.3";
    copyText(s.pppoeAccount, "user");
    copyText(s.pppoePassword, "pw");
    s.serverAddress = {10, 0, 0, 9};
    s.serverPort = 8080;
    return s;
}

// The same block written out by hand from the layout table.
std::string sampleBlock(bool extended) {
    std::string p(extended ? 192 : 116, '\0');
    put(p, 0, {3, 'a', 'b', 'c'});              // name length, name
    put(p, 16, {1, 2, 3, 4, 5, 6});             // MAC
    put(p, 22, {192, 168, 1, 20});              // IP
    put(p, 26, {255, 255, 255, 0});             // mask
    put(p, 30, {192, 168, 1, 254});             // gateway
    put(p, 34, {192, 168, 1, 100});             // PC receiving reports
    put(p, 38, {0xFF, 0xFE});                   // device port 65534, big-endian
    put(p, 40, {0xC3, 0x50});                   // PC port 50000, big-endian
    put(p, 42, {2, 1, 2, 7});                   // report mode, group, variant, number
    put(p, 46, {'1', '2', '3', '4', '5', '6'}); // operation password
    put(p, 52, {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '1', '2', '3', '4', '5'});
    p.replace(68, 16, 16, '\x11');          // reserved, carried
    p.replace(84, 16, 16, '\x22');          // reserved, carried
    p[100] = extended ? '\x52' : '\x42';    // PPPoE 2, block version in bits 4..5, bits 6..7 = 1
    p[101] = 10;                            // hardware model
    put(p, 102, {0x33, 0x44});              // reserved, as stored
    put(p, 104, {50, 0});                   // network timeout, little-endian
    put(p, 106, {0x05, 0x01});              // passage timeout 261 s, little-endian
    put(p, 108, {'1', '.', '2', '.', '3'}); // firmware text, zero-padded to 7
    p[115] = extended ? '\xA6' : '\x96';    // 8-bit sum of bytes 0..114
    if (!extended)
        return p;
    put(p, 116, {'u', 's', 'e', 'r'}); // PPPoE account, 32 bytes
    put(p, 148, {'p', 'w'});           // PPPoE password, 10 bytes
    put(p, 158, {10, 0, 0, 9});        // area server
    put(p, 162, {0x1F, 0x90});         // its port 8080, big-endian
    p[190] = '\xEE';                   // extended marker
    p[191] = '\xA2';                   // 8-bit sum of bytes 0..190
    return p;
}

} // namespace

class BasicBlockGolden : public ::testing::TestWithParam<bool> {};

TEST_P(BasicBlockGolden, EveryFieldSitsAtItsOffsetWithItsSums) {
    const bool extended = GetParam();
    EXPECT_EQ(hex(encodeBasicBlock(sampleSettings(extended), extended)),
              hex(sampleBlock(extended)));
    // A basic-configuration write carries the extended block: read back, the same fields.
    if (extended) {
        EXPECT_EQ(decodeBasicBlock(asBytes(sampleBlock(true))), sampleSettings(true));
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, BasicBlockGolden, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Extended" : "Basic"; });

TEST(DoorBlockGolden, CountersThenSettings) {
    DoorCounters c;
    c.systemStatus = 242;
    c.reportIndex = 0x0A0B;
    c.reserved = {0xDE, 0xAD, 0xBE, 0xEF};
    c.inCount = 0x1122;
    c.outCount = 0x3344;
    c.insideCount = 0x5566;
    c.insideLimit = 0x7788;
    c.runState = 0x80000001;
    DoorSettings settings{};
    for (std::size_t i = 0; i < settings.size(); ++i)
        settings[i] = static_cast<std::uint8_t>(i * 7);

    std::string expected(424, '\0');
    put(expected, 0, {0x04, 0x03, 0x02, 0x01});  // log count, little-endian
    put(expected, 4, {242, 0, 0, 0});            // system status
    put(expected, 8, {7, 0, 0, 0});              // right count
    put(expected, 12, {0x0B, 0x0A, 0, 0});       // report index
    put(expected, 16, {0xDE, 0xAD, 0xBE, 0xEF}); // reserved, carried
    put(expected, 20, {0x22, 0x11, 0x44, 0x33}); // in, out
    put(expected, 24, {0x66, 0x55, 0x88, 0x77}); // inside, inside limit
    put(expected, 28, {0x01, 0, 0, 0x80});       // run state
    for (std::size_t i = 0; i < 392; ++i)
        expected[32 + i] = static_cast<char>(i * 7);

    EXPECT_EQ(hex(encodeDoorBlock(c, 0x01020304, 7, settings)), hex(expected));
}
