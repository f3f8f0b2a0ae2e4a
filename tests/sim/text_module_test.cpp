// The simulator's text module: a text command applies the keys the controller knows and names
// them in its reply, never moving it out of its own network; a template is kept.
#include <gtest/gtest.h>

#include "sim_command_table.h"

using namespace quorvane;
using namespace quorvane::sim;

namespace {
std::optional<SimReply> send(SimController& c, std::uint8_t command, const std::string& front) {
    static const CommandTable table;
    std::vector<std::uint8_t> payload(520, 0);
    std::copy(front.begin(), front.end(), payload.begin());
    SimRequest r;
    r.command = command;
    r.payload = Bytes(payload);
    return table.answer(c, r)->reply;
}
} // namespace

TEST(SimText, KnownKeysAreAppliedAndNamedUnknownOnesFailTheCommand) {
    ControllerSeed seed;
    seed.address = 0x7F000002;
    SimController c = makeController(seed);
    auto r = send(c, 148,
                  std::string(8, '\0') + "setIp=127.0.0.100;open3;settime=2030-01-02 03:04:05 3");
    EXPECT_EQ(r->status, kDone);
    EXPECT_EQ(r->payload, "setIp;open3;settime");
    EXPECT_EQ(c.address, 0x7F000064u);
    EXPECT_EQ(c.config.basic.ip, (std::array<std::uint8_t, 4>{127, 0, 0, 100}));
    // Off the machine, a door beyond four, an unknown key: refused, the rest still applied.
    r = send(c, 148, std::string(8, '\0') + "setIp=10.0.0.5;open5;beep;setIpAlloc=1");
    EXPECT_EQ(r->status, kFailed);
    EXPECT_EQ(r->payload, "setIpAlloc");
    EXPECT_EQ(c.address, 0x7F000064u);
    EXPECT_EQ(send(c, 42, std::string("\0\0\0\0\x05\0\0\0\xAB", 9))->status, kDone);
    EXPECT_EQ(c.text.templates.at(0).substr(0, 4), "ab00");
}
