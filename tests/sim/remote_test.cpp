// The remote-command module: relays, clock and restarts, through the command table.
#include <gtest/gtest.h>

#include <vector>

#include "sim_exchange.h"

using namespace quorvane;
using namespace quorvane::sim;

namespace {

using quorvane::sim::test::Answer;
using quorvane::sim::test::ByteVec;
using quorvane::sim::test::send;

struct OpenCase {
    const char* name;
    ByteVec payload;
    std::uint8_t status;
    int relay;           // 1-based relay whose state changed, 0 none
    std::uint16_t value; // its new value
};

class OpenDoor : public ::testing::TestWithParam<OpenCase> {};

} // namespace

TEST_P(OpenDoor, SetsTheRelayItNames) {
    SimController c;
    Answer e = send(c, 16, GetParam().payload);
    EXPECT_EQ(e.code, 17);
    EXPECT_EQ(e.status, GetParam().status);
    for (int relay = 1; relay <= kOnBoardRelays; ++relay) {
        const RelayState& s = c.remote.relays[static_cast<std::size_t>(relay - 1)];
        bool named = relay == GetParam().relay;
        EXPECT_EQ(s.lastValue, named ? GetParam().value : kRelayAuto) << relay;
        EXPECT_EQ(s.commands, named ? 1 : 0) << relay;
    }
    if (GetParam().relay > kOnBoardRelays) {
        ASSERT_EQ(c.remote.extensionRelays.size(), 1u);
        EXPECT_EQ(c.remote.extensionRelays.at(GetParam().relay).lastValue, GetParam().value);
    } else {
        EXPECT_TRUE(c.remote.extensionRelays.empty());
    }
    EXPECT_EQ(c.remote.lastDoor, GetParam().relay);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenDoor,
    ::testing::Values(OpenCase{"Relay2ThreeSeconds", {0x02, 0x01, 0x2C}, 1, 2, 300},
                      OpenCase{"Relay1HeldEnergised", {0x01, 0xFD, 0xEB}, 1, 1, 65003},
                      OpenCase{"Relay4Released", {0x04, 0xFD, 0xED}, 1, 4, 65005},
                      OpenCase{"DoorZero", {0x00, 0x00, 0x32}, 0xFC, 0, 0},
                      OpenCase{"FirstExtensionRelay", {0x05, 0x00, 0x32}, 1, 5, 50},
                      OpenCase{"LastExtensionRelay", {0xA4, 0xFD, 0xEA}, 1, 164, 65002},
                      OpenCase{"BeyondTheLastDoor", {0xA5, 0x00, 0x32}, 0xFC, 0, 0},
                      OpenCase{"ShortPayload", {0x01, 0x00}, 0xFE, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Clock, ReadsBackTheTimeItWasSet) {
    SimController c;
    // 2024-03-05 14:07:09, a Tuesday.
    Answer set = send(c, 38, {0x24, 0x03, 0x05, 0x14, 0x07, 0x09, 0x02});
    EXPECT_EQ(set.code, 39);
    EXPECT_EQ(set.status, 1);
    Answer read = send(c, 40, {});
    EXPECT_EQ(read.code, 41);
    EXPECT_EQ(read.status, 1);
    ASSERT_EQ(read.payload.size(), 7u);
    // The seconds may have moved on; date, hour, minute and weekday have not (within a minute).
    EXPECT_EQ(ByteVec(read.payload.begin(), read.payload.begin() + 5),
              (ByteVec{0x24, 0x03, 0x05, 0x14, 0x07}));
    EXPECT_EQ(read.payload[6], 0x02);
}

TEST(Clock, RefusesATimeThatIsNotOne) {
    for (const ByteVec& bad : {ByteVec{0x24, 0x13, 0x05, 0x14, 0x07, 0x09, 0x02},
                               ByteVec{0x24, 0x03, 0x05, 0x24, 0x07, 0x09, 0x02},
                               ByteVec{0x24, 0x03, 0x0A, 0x14, 0x07, 0x09, 0x02},
                               ByteVec{0x24, 0x03, 0x05, 0x14, 0x07, 0x09}}) {
        SimController c;
        Answer e = send(c, 38, bad);
        EXPECT_EQ(e.code, 39);
        EXPECT_EQ(e.status, 0);
        EXPECT_EQ(c.remote.clockOffset.count(), 0);
    }
}

TEST(Restart, IsCounted) {
    SimController c;
    EXPECT_EQ(send(c, 66, {}).code, 67);
    send(c, 66, {});
    EXPECT_EQ(c.remote.restarts, 2);
}

TEST(OpenDoor, ADoorWithAFaultAnswersItsStatusAndStaysAsItWas) {
    SimController c;
    c.remote.doorStatus = {{2, 0}, {7, 3}};
    EXPECT_EQ(send(c, 16, {0x02, 0x01, 0x2C}).status, 0);
    EXPECT_EQ(send(c, 16, {0x07, 0x01, 0x2C}).status, 3);
    EXPECT_EQ(send(c, 16, {0x01, 0x01, 0x2C}).status, 1);
    EXPECT_EQ(c.remote.relays[1].commands, 0);
    EXPECT_EQ(c.remote.relays[1].lastValue, kRelayAuto);
    EXPECT_TRUE(c.remote.extensionRelays.empty());
    EXPECT_EQ(c.remote.relays[0].commands, 1);
}

TEST(ClearLog, EmptiesTheLogAndRestarts) {
    SimController c;
    c.logs.records.resize(5);
    Answer e = send(c, 64, {});
    EXPECT_EQ(e.code, 65);
    EXPECT_EQ(e.status, 1);
    EXPECT_TRUE(c.logs.records.empty());
    EXPECT_EQ(c.remote.logClears, 1);
    EXPECT_EQ(c.remote.restarts, 1);
}

namespace {
struct TestCase {
    const char* name;
    ByteVec payload;
    std::uint8_t status;
    ByteVec reply;
    std::uint32_t flags; // kept as the last flag word
};
class SelfTest : public ::testing::TestWithParam<TestCase> {};
} // namespace

TEST_P(SelfTest, AnswersWithItsReturnCode) {
    SimController c;
    c.logs.records.resize(3);
    Answer e = send(c, 243, GetParam().payload);
    EXPECT_EQ(e.code, 244);
    EXPECT_EQ(e.status, GetParam().status);
    EXPECT_EQ(e.payload, GetParam().reply);
    EXPECT_EQ(c.remote.testFlags, GetParam().flags);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelfTest,
    ::testing::Values(
        // Bits 1 and 16, little-endian: two actions.
        TestCase{"TwoActions", {0x02, 0x00, 0x01, 0x00}, 1, {0x02}, 0x00010002},
        TestCase{"EveryKnownAction", {0x0F, 0x00, 0xFF, 0x0F}, 1, {16}, 0x0FFF000F},
        TestCase{"NoAction", {0x00, 0x00, 0x00, 0x00}, 0, {0x00}, 0},
        // Bit 4 is not a test action: the code names it.
        TestCase{"UnknownBit", {0x12, 0x00, 0x00, 0x00}, 0, {0x04}, 0x12},
        TestCase{"HighUnknownBit", {0x00, 0x00, 0x00, 0x80}, 0, {31}, 0x80000000},
        TestCase{"ShortWord", {0x01, 0x00, 0x00}, 0xFE, {}, 0},
        TestCase{"LongWord", {0x01, 0x00, 0x00, 0x00, 0x00}, 0xFE, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SelfTest, ClearingTheLogOrTheConfigurationLeavesItsTrace) {
    SimController c;
    c.logs.records.resize(3);
    send(c, 243, {0x08, 0x00, 0x00, 0x00});
    EXPECT_TRUE(c.logs.records.empty());
    EXPECT_EQ(c.remote.logClears, 1);
    EXPECT_EQ(c.remote.restarts, 0);
    send(c, 243, {0x01, 0x00, 0x00, 0x00});
    EXPECT_EQ(c.remote.restarts, 1);
    EXPECT_EQ(c.remote.selfTests, 2);
}

TEST(RemoteModule, KeepsTheLastPayloadOfEachCommand) {
    SimController c;
    send(c, 16, {0x02, 0x01, 0x2C});
    send(c, 16, {0x01, 0xFD, 0xEB});
    send(c, 243, {0x02, 0x00, 0x00, 0x00});
    EXPECT_EQ(c.remote.payloads.at(16), std::string("\x01\xFD\xEB"));
    EXPECT_EQ(c.remote.payloads.at(243), std::string("\x02\x00\x00\x00", 4));
}
