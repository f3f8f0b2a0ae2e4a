// The simulator's text module never moves a controller out of its own network: a test that
// readdressed one off the machine would have it answer from an address that is not ours.
#include <gtest/gtest.h>

#include "sim_command_table.h"

using namespace quorvane;
using namespace quorvane::sim;

TEST(SimText, AnAddressOffTheMachineIsRefusedAndTheRestStillApplied) {
    ControllerSeed seed;
    seed.address = 0x7F000002;
    SimController c = makeController(seed);
    std::vector<std::uint8_t> payload(520, 0);
    const std::string text = "setIp=10.0.0.5;setIpAlloc=1";
    std::copy(text.begin(), text.end(), payload.begin() + 8);
    SimRequest r;
    r.command = 148;
    r.payload = Bytes(payload);
    const auto reply = CommandTable().answer(c, r)->reply;
    EXPECT_EQ(reply.status, kFailed);
    EXPECT_EQ(reply.payload, "setIpAlloc");
    EXPECT_EQ(c.address, 0x7F000002u);
}
