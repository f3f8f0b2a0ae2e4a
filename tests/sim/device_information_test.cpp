// The simulator's own encoder of the device-information payload and its reader of the
// basic-configuration write, against blocks built here byte by byte from the block layout.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "sim_config.h"
#include "sim_config_blocks.h"
#include "sim_exchange.h"
#include "test_paths.h"

using namespace quorvane;
using namespace quorvane::sim;

namespace {

using quorvane::sim::test::ByteVec;
using quorvane::sim::test::send;

void put(ByteVec& p, std::size_t at, std::initializer_list<int> bytes) {
    for (int b : bytes)
        p.at(at++) = static_cast<std::uint8_t>(b);
}
void fill(ByteVec& p, std::size_t at, std::size_t n, int value) {
    for (std::size_t i = 0; i < n; ++i)
        p.at(at + i) = static_cast<std::uint8_t>(value);
}
template <std::size_t N> void copyText(std::array<std::uint8_t, N>& a, const char* text) {
    for (std::size_t i = 0; text[i]; ++i)
        a[i] = static_cast<std::uint8_t>(text[i]);
}

// Bytes as spaced hexadecimal, so a mismatch shows where it lies.
std::string hexOf(const ByteVec& v) {
    return quorvane::test::hex(std::string(v.begin(), v.end()));
}
using quorvane::test::hex;

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
ByteVec sampleBlock(bool extended) {
    ByteVec p(extended ? 192 : 116, 0);
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
    fill(p, 68, 16, 0x11);                  // reserved, carried
    fill(p, 84, 16, 0x22);                  // reserved, carried
    p[100] = extended ? 0x52 : 0x42;        // PPPoE 2, block version in bits 4..5, bits 6..7 = 1
    p[101] = 10;                            // hardware model
    put(p, 102, {0x33, 0x44});              // reserved, as stored
    put(p, 104, {50, 0});                   // network timeout, little-endian
    put(p, 106, {0x05, 0x01});              // passage timeout 261 s, little-endian
    put(p, 108, {'1', '.', '2', '.', '3'}); // firmware text, zero-padded to 7
    p[115] = extended ? 0xA6 : 0x96;        // 8-bit sum of bytes 0..114
    if (!extended)
        return p;
    put(p, 116, {'u', 's', 'e', 'r'}); // PPPoE account, 32 bytes
    put(p, 148, {'p', 'w'});           // PPPoE password, 10 bytes
    put(p, 158, {10, 0, 0, 9});        // area server
    put(p, 162, {0x1F, 0x90});         // its port 8080, big-endian
    p[190] = 0xEE;                     // extended marker
    p[191] = 0xA2;                     // 8-bit sum of bytes 0..190
    return p;
}

} // namespace

class BasicBlockGolden : public ::testing::TestWithParam<bool> {};

TEST_P(BasicBlockGolden, EveryFieldSitsAtItsOffsetWithItsSums) {
    const bool extended = GetParam();
    EXPECT_EQ(hex(encodeBasicBlock(sampleSettings(extended), extended)),
              hexOf(sampleBlock(extended)));
}

INSTANTIATE_TEST_SUITE_P(Forms, BasicBlockGolden, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Extended" : "Basic"; });

TEST(BasicBlockEncoding, NameAndFirmwareAreCutToTheirRoom) {
    BasicSettings s = sampleSettings(false);
    s.name = "ABCDEFGHIJKLMNOPQ"; // 17 bytes: 15 fit
    s.firmware = "123456789";     // 9 bytes: 7 fit
    std::string b = encodeBasicBlock(s, false);
    EXPECT_EQ(static_cast<std::uint8_t>(b[0]), 15);
    EXPECT_EQ(b.substr(1, 15), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(b.substr(108, 7), "1234567");
}

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

    ByteVec expected(424, 0);
    put(expected, 0, {0x04, 0x03, 0x02, 0x01});  // log count, little-endian
    put(expected, 4, {242, 0, 0, 0});            // system status
    put(expected, 8, {7, 0, 0, 0});              // right count
    put(expected, 12, {0x0B, 0x0A, 0, 0});       // report index
    put(expected, 16, {0xDE, 0xAD, 0xBE, 0xEF}); // reserved, carried
    put(expected, 20, {0x22, 0x11, 0x44, 0x33}); // in, out
    put(expected, 24, {0x66, 0x55, 0x88, 0x77}); // inside, inside limit
    put(expected, 28, {0x01, 0, 0, 0x80});       // run state
    for (std::size_t i = 0; i < 392; ++i)
        expected[32 + i] = static_cast<std::uint8_t>(i * 7);

    EXPECT_EQ(hex(encodeDoorBlock(c, 0x01020304, 7, settings)), hexOf(expected));
}

TEST(DeviceInformation, AControllerReportsItsBlockInItsFormFollowedByItsDoorBlock) {
    ControllerSeed seed;
    seed.number = 4;
    seed.address = 0x7F000004;
    seed.port = 65534;
    seed.namePrefix = "门禁";
    seed.group = 1;
    for (bool extended : {false, true}) {
        seed.extended = extended;
        SimController c = makeController(seed);
        std::string p = deviceInformation(c);
        ASSERT_EQ(p.size(), extended ? 616u : 540u);
        ByteVec b(p.begin(), p.end());
        // The name in GBK: 门 C3C5, 禁 BDFB.
        EXPECT_EQ(hexOf(ByteVec(b.begin(), b.begin() + 6)), "05 C3 C5 BD FB 34");
        EXPECT_EQ(hexOf(ByteVec(b.begin() + 16, b.begin() + 26)), "00 1A 2B 00 00 04 7F 00 00 04");
        EXPECT_EQ(b[43], 1); // group
        EXPECT_EQ(b[45], 5); // number: 4 % 255 + 1
        EXPECT_EQ(b[100] & 0x30, extended ? 0x10 : 0x00);
        std::size_t door = extended ? 192 : 116;
        EXPECT_EQ(b[door + 12], 4);  // report index
        EXPECT_EQ(b[door + 404], 1); // right mode
        EXPECT_EQ(c.targetId(), 0x0105);
    }
}

TEST(DeviceInformation, ALongNameIsCutWithoutSplittingACharacter) {
    ControllerSeed seed;
    seed.namePrefix = "门禁门禁门禁门禁"; // 16 GBK bytes before the number
    SimController c = makeController(seed);
    std::string p = deviceInformation(c);
    EXPECT_EQ(static_cast<std::uint8_t>(p[0]), 14);
    EXPECT_EQ(p[15], '\0');
}

namespace {

SimController sampleController(bool extended) {
    ControllerSeed seed;
    seed.number = 9;
    seed.address = 0x7F000009;
    seed.port = 65534;
    seed.namePrefix = "x";
    seed.extended = extended;
    return makeController(seed);
}

// A write of the basic configuration: the extended block and 424 zero bytes.
ByteVec writePayload() {
    ByteVec p = sampleBlock(true);
    p.resize(192 + 424, 0);
    return p;
}

} // namespace

class BasicWrite : public ::testing::TestWithParam<bool> {};

TEST_P(BasicWrite, TheControllerTakesTheConfigurableFieldsAndKeepsItsHardware) {
    const bool extended = GetParam();
    SimController c = sampleController(extended);
    const BasicSettings before = c.config.basic;
    const ByteVec payload = writePayload();
    const auto answer = send(c, 4, payload);
    EXPECT_EQ(answer.code, 5);
    EXPECT_EQ(answer.status, 1);
    const BasicSettings& s = c.config.basic;
    EXPECT_EQ(s.name, "abc");
    EXPECT_EQ(s.mac, (std::array<std::uint8_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(s.ip, (std::array<std::uint8_t, 4>{192, 168, 1, 20}));
    EXPECT_EQ(s.hostAddress, (std::array<std::uint8_t, 4>{192, 168, 1, 100}));
    EXPECT_EQ(s.devicePort, 65534);
    EXPECT_EQ(s.hostPort, 50000);
    EXPECT_EQ(s.reportMode, 2);
    EXPECT_EQ(s.deviceNo, 7);
    EXPECT_EQ(s.ipAlloc, 2);
    EXPECT_EQ(s.reservedBits, 1);
    EXPECT_EQ(s.reserved3, (std::array<std::uint8_t, 2>{0x33, 0x44}));
    EXPECT_EQ(s.netTimeout, 50);
    EXPECT_EQ(s.passTimeout, 261);
    EXPECT_EQ(c.targetId(), 0x0107);
    // Serial, hardware, firmware and form are the controller's own.
    EXPECT_EQ(s.productSerial, before.productSerial);
    EXPECT_EQ(s.hwVariant, before.hwVariant);
    EXPECT_EQ(s.hwModel, before.hwModel);
    EXPECT_EQ(s.firmware, before.firmware);
    EXPECT_EQ(s.blockVersion, before.blockVersion);
    // Only a controller of the extended form keeps the extended fields.
    EXPECT_EQ(s.serverPort, extended ? 8080 : before.serverPort);
    EXPECT_EQ(s.pppoeAccount[0], extended ? 'u' : 0);
    EXPECT_EQ(c.config.basicWrites, 1);
}

INSTANTIATE_TEST_SUITE_P(Forms, BasicWrite, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Extended" : "Basic"; });

struct BrokenWrite {
    const char* name;
    std::size_t at; // byte changed, or the new length when resize is set
    bool resize;
};

class BrokenBasicWrite : public ::testing::TestWithParam<BrokenWrite> {};

TEST_P(BrokenBasicWrite, IsRefusedAndChangesNothing) {
    ByteVec payload = writePayload();
    if (GetParam().resize)
        payload.resize(GetParam().at);
    else
        payload.at(GetParam().at) ^= 0x01;
    SimController c = sampleController(true);
    const BasicSettings before = c.config.basic;
    const auto answer = send(c, 4, payload);
    EXPECT_EQ(answer.code, 5);
    EXPECT_EQ(answer.status, 0);
    EXPECT_EQ(c.config.basic, before);
    EXPECT_EQ(c.config.basicWrites, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, BrokenBasicWrite,
                         ::testing::Values(BrokenWrite{"BasicSumOffByOne", 115, false},
                                           BrokenWrite{"ExtendedSumOffByOne", 191, false},
                                           BrokenWrite{"NameByteWithoutItsSums", 1, false},
                                           BrokenWrite{"OneByteShort", 615, true},
                                           BrokenWrite{"OneByteLong", 617, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DoorWrite, SetsTheSettingsReportIndexAndInsideLimitAndKeepsTheCounts) {
    SimController c = sampleController(false);
    c.config.counters.systemStatus = 3;
    c.config.counters.inCount = 5;
    ByteVec block(424, 0);
    for (std::size_t i = 0; i < 424; ++i)
        block[i] = static_cast<std::uint8_t>(i + 1);
    const auto answer = send(c, 14, block);
    EXPECT_EQ(answer.code, 15);
    EXPECT_EQ(answer.status, 1);
    EXPECT_EQ(c.config.counters.reportIndex, 0x100F0E0Du); // bytes 13..16 of the write
    EXPECT_EQ(c.config.counters.insideLimit, 0x1C1B);      // bytes 27, 28
    EXPECT_EQ(c.config.counters.systemStatus, 3u);
    EXPECT_EQ(c.config.counters.inCount, 5);
    std::string read = doorBlock(c);
    EXPECT_EQ(hex(read.substr(32)), hexOf(ByteVec(block.begin() + 32, block.end())));
    EXPECT_EQ(read.substr(0, 4), std::string(4, '\0')); // no log records
    EXPECT_EQ(c.config.doorWrites, 1);

    ByteVec shortBlock(423, 0);
    EXPECT_EQ(send(c, 14, shortBlock).status, 0);
    EXPECT_EQ(c.config.doorWrites, 1);
}
