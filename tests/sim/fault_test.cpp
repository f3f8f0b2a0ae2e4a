// The simulator's faults: the --fault syntax, and what each fault drops, answers or delays. The
// integration tests trust these to happen; a fault that silently did nothing would let them pass.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "sim_command_faults.h"

using namespace quorvane;
using namespace quorvane::sim;
using Kind = CommandFault::Kind;

namespace {

struct FaultText {
    const char* text;
    std::optional<CommandFault> fault; // none: refused
};

class ParseFault : public ::testing::TestWithParam<FaultText> {};

SimRequest request(std::uint8_t command, const std::vector<std::uint8_t>& payload = {}) {
    SimRequest r;
    r.command = command;
    r.payload = Bytes(payload);
    return r;
}

constexpr std::uint32_t kA = 0x7F000002; // 127.0.0.2
constexpr std::uint32_t kB = 0x7F000003; // 127.0.0.3

} // namespace

TEST_P(ParseFault, ReadsKindCodeValueAndAddressOrRefusesWithAReason) {
    std::string error;
    auto f = parseCommandFault(GetParam().text, error);
    EXPECT_EQ(f, GetParam().fault) << error;
    EXPECT_EQ(error.empty(), GetParam().fault.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseFault,
    ::testing::Values(FaultText{"drop:16:2", CommandFault{Kind::Drop, 16, 2, {}}},
                      FaultText{"drop-each:18:1", CommandFault{Kind::DropEach, 18, 1, {}}},
                      FaultText{"status:2:255", CommandFault{Kind::Status, 2, 255, {}}},
                      FaultText{"delay:40:600000", CommandFault{Kind::Delay, 40, 600000, {}}},
                      FaultText{"drop:0:1@127.0.0.3", CommandFault{Kind::Drop, 0, 1, kB}},
                      // A door fault names the door; it belongs to the open-door command.
                      FaultText{"door:164:2@127.0.0.2", CommandFault{Kind::Door, 16, 2, kA, 164}},
                      FaultText{"loss:18:20", CommandFault{Kind::Loss, 18, 20, {}}},
                      FaultText{"drop:16", {}}, FaultText{"wobble:16:1", {}},
                      FaultText{"drop:256:1", {}}, FaultText{"drop:x:1", {}},
                      FaultText{"status:14:256", {}}, FaultText{"delay:40:600001", {}},
                      FaultText{"drop:0x10:1", {}}, FaultText{"drop:16:2@nowhere", {}},
                      FaultText{"door:0:0", {}}, FaultText{"loss:18:101", {}}));

TEST(CommandFaults, DropCountsPerControllerAndCodeDropEachPerPayload) {
    CommandFaults drop({{Kind::Drop, 16, 2, {}}});
    const std::vector<std::uint8_t> door1 = {1, 0, 50}, door2 = {2, 0, 50};
    std::vector<bool> a, b;
    for (int i = 0; i < 3; ++i)
        a.push_back(drop.dropReply(0, kA, request(16, door1)));
    EXPECT_FALSE(drop.dropReply(0, kA, request(40))); // another code: not counted
    for (int i = 0; i < 3; ++i)
        b.push_back(drop.dropReply(1, kB, request(16, door2)));
    EXPECT_EQ(a, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(b, (std::vector<bool>{true, true, false}));

    CommandFaults each({{Kind::DropEach, 16, 1, {}}});
    EXPECT_TRUE(each.dropReply(0, kA, request(16, door1)));
    EXPECT_FALSE(each.dropReply(0, kA, request(16, door1))); // the resend gets through
    EXPECT_TRUE(each.dropReply(0, kA, request(16, door2)));
    EXPECT_FALSE(each.dropReply(0, kA, request(16, door1)));
}

TEST(CommandFaults, AnAddressLimitsAFaultAndTheFirstStatusDelayOrDoorGivenApplies) {
    CommandFaults faults({{Kind::Drop, 40, 5, kB},
                          {Kind::Status, 40, 0, kB},
                          {Kind::Status, 40, 7, {}},
                          {Kind::Delay, 40, 300, kB},
                          {Kind::Delay, 40, 900, {}},
                          {Kind::Door, 16, 0, {}, 2},
                          {Kind::Door, 16, 5, {}, 2},
                          {Kind::Door, 16, 3, kB, 100}});
    EXPECT_FALSE(faults.dropReply(0, kA, request(40)));
    EXPECT_TRUE(faults.dropReply(1, kB, request(40)));
    EXPECT_EQ(faults.statusFor(kA, 40), 7);
    EXPECT_EQ(faults.statusFor(kB, 40), 0);
    EXPECT_EQ(faults.delayFor(kA, 40).count(), 900);
    EXPECT_EQ(faults.delayFor(kB, 40).count(), 300);
    EXPECT_EQ(faults.delayFor(kB, 12).count(), 0); // another code
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
    EXPECT_TRUE(faults.dropReply(0, kA, request(20)));
    EXPECT_FALSE(faults.dropReply(0, kA, request(22)));
}
