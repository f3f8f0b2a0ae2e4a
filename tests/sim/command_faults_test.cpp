// Faults per command: their option syntax and what each counts.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "sim_command_faults.h"

using namespace quorvane;
using namespace quorvane::sim;
using Kind = CommandFault::Kind;

namespace {

struct GoodFault {
    const char* text;
    CommandFault fault;
};

class ParseGoodFault : public ::testing::TestWithParam<GoodFault> {};

struct BadFault {
    const char* name;
    const char* text;
};

class ParseBadFault : public ::testing::TestWithParam<BadFault> {};

SimRequest request(std::uint8_t command, const std::vector<std::uint8_t>& payload) {
    SimRequest r;
    r.command = command;
    r.payload = Bytes(payload);
    return r;
}

constexpr std::uint32_t kA = 0x7F000002; // 127.0.0.2
constexpr std::uint32_t kB = 0x7F000003; // 127.0.0.3

} // namespace

TEST_P(ParseGoodFault, ReadsKindCodeValueAndAddress) {
    std::string error;
    auto f = parseCommandFault(GetParam().text, error);
    ASSERT_TRUE(f) << error;
    EXPECT_EQ(*f, GetParam().fault);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseGoodFault,
    ::testing::Values(GoodFault{"drop:16:2", {Kind::Drop, 16, 2, {}}},
                      GoodFault{"drop-each:18:1", {Kind::DropEach, 18, 1, {}}},
                      GoodFault{"status:14:0", {Kind::Status, 14, 0, {}}},
                      GoodFault{"status:2:255", {Kind::Status, 2, 255, {}}},
                      GoodFault{"delay:40:600000", {Kind::Delay, 40, 600000, {}}},
                      GoodFault{"drop:0:1@127.0.0.3", {Kind::Drop, 0, 1, kB}},
                      // A door fault names the door; it belongs to the open-door command.
                      GoodFault{"door:3:0", {Kind::Door, 16, 0, {}, 3}},
                      GoodFault{"door:164:2@127.0.0.2", {Kind::Door, 16, 2, kA, 164}},
                      GoodFault{"loss:18:20", {Kind::Loss, 18, 20, {}}}));

TEST_P(ParseBadFault, IsRefusedWithAReason) {
    std::string error;
    EXPECT_FALSE(parseCommandFault(GetParam().text, error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseBadFault,
    ::testing::Values(
        BadFault{"NoValue", "drop:16"}, BadFault{"NoCode", "drop::1"},
        BadFault{"UnknownKind", "wobble:16:1"}, BadFault{"CodeTooLarge", "drop:256:1"},
        BadFault{"CodeNotANumber", "drop:x:1"}, BadFault{"NegativeCount", "drop:16:-1"},
        BadFault{"StatusTooLarge", "status:14:256"}, BadFault{"DelayTooLong", "delay:40:600001"},
        BadFault{"ExtraField", "drop:16:1:2"}, BadFault{"HexCode", "drop:0x10:1"},
        BadFault{"BadAddress", "drop:16:2@nowhere"}, BadFault{"DoorZero", "door:0:0"},
        BadFault{"DoorStatusTooLarge", "door:1:256"}, BadFault{"LossAboveAll", "loss:18:101"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandFaults, DropCountsTheFirstRepliesOfEachControllerToItsCode) {
    CommandFaults faults({{Kind::Drop, 16, 2, {}}});
    const std::vector<std::uint8_t> door1 = {1, 0, 50};
    std::vector<bool> a, b;
    for (int i = 0; i < 3; ++i)
        a.push_back(faults.dropReply(0, kA, request(16, door1)));
    EXPECT_FALSE(faults.dropReply(0, kA, request(40, {}))); // another code: not counted
    for (int i = 0; i < 3; ++i)
        b.push_back(faults.dropReply(1, kB, request(16, door1)));
    EXPECT_EQ(a, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(b, (std::vector<bool>{true, true, false}));
}

TEST(CommandFaults, DropEachCountsEveryDistinctPayloadOnItsOwn) {
    CommandFaults faults({{Kind::DropEach, 16, 1, {}}});
    const std::vector<std::uint8_t> door1 = {1, 0, 50}, door2 = {2, 0, 50};
    EXPECT_TRUE(faults.dropReply(0, kA, request(16, door1)));
    EXPECT_FALSE(faults.dropReply(0, kA, request(16, door1))); // the resend gets through
    EXPECT_TRUE(faults.dropReply(0, kA, request(16, door2)));
    EXPECT_FALSE(faults.dropReply(0, kA, request(16, door2)));
    EXPECT_FALSE(faults.dropReply(0, kA, request(16, door1)));
}

TEST(CommandFaults, AnAddressLimitsAFaultToItsControllers) {
    CommandFaults faults(
        {{Kind::Drop, 40, 5, kB}, {Kind::Status, 40, 0, kB}, {Kind::Delay, 40, 300, kB}});
    EXPECT_FALSE(faults.dropReply(0, kA, request(40, {})));
    EXPECT_TRUE(faults.dropReply(1, kB, request(40, {})));
    EXPECT_FALSE(faults.statusFor(kA, 40));
    EXPECT_EQ(faults.statusFor(kB, 40), 0);
    EXPECT_EQ(faults.delayFor(kA, 40).count(), 0);
    EXPECT_EQ(faults.delayFor(kB, 40).count(), 300);
}

TEST(CommandFaults, TheFirstStatusOrDelayGivenForACodeApplies) {
    CommandFaults faults({{Kind::Status, 14, 0, {}},
                          {Kind::Status, 14, 7, {}},
                          {Kind::Delay, 14, 100, {}},
                          {Kind::Delay, 14, 900, {}}});
    EXPECT_EQ(faults.statusFor(kA, 14), 0);
    EXPECT_EQ(faults.delayFor(kA, 14).count(), 100);
    EXPECT_FALSE(faults.statusFor(kA, 12));
}

TEST(CommandFaults, DoorFaultsGiveEachDoorItsStatusAtTheirAddresses) {
    CommandFaults faults({{Kind::Door, 16, 0, {}, 2},
                          {Kind::Door, 16, 5, {}, 2},
                          {Kind::Door, 16, 3, kB, 100},
                          {Kind::Status, 16, 7, {}}});
    EXPECT_EQ(faults.doorStatuses(kA), (std::map<int, std::uint8_t>{{2, 0}}));
    EXPECT_EQ(faults.doorStatuses(kB), (std::map<int, std::uint8_t>{{2, 0}, {100, 3}}));
}

TEST(CommandFaults, LossDropsAboutItsShareOfTheRepliesToItsCodeOnly) {
    CommandFaults faults({{Kind::Loss, 18, 20, {}}, {Kind::Loss, 20, 100, {}}}, 7);
    int lost = 0;
    for (int i = 0; i < 10000; ++i)
        lost += faults.dropReply(0, kA, request(18, {1})) ? 1 : 0;
    // 20 % of 10,000: the binomial spread is 40, so 1,800..2,200 holds at five of them.
    EXPECT_GT(lost, 1800);
    EXPECT_LT(lost, 2200);
    EXPECT_TRUE(faults.dropReply(0, kA, request(20, {})));
    EXPECT_FALSE(faults.dropReply(0, kA, request(22, {})));
    // The same seed draws the same losses.
    CommandFaults again({{Kind::Loss, 18, 20, {}}}, 7), other({{Kind::Loss, 18, 20, {}}}, 7);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(again.dropReply(0, kA, request(18, {})), other.dropReply(0, kA, request(18, {})));
}
