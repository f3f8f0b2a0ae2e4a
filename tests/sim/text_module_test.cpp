// The simulator's text module: a text command applies the keys the controller knows and names
// them in its reply; an address outside its own network is refused; a template is kept.
#include <gtest/gtest.h>

#include "sim_command_table.h"

using namespace quorvane;
using namespace quorvane::sim;

namespace {

std::vector<std::uint8_t> large(const std::string& front) {
    std::vector<std::uint8_t> p(520, 0);
    std::copy(front.begin(), front.end(), p.begin());
    return p;
}

CommandTable::Answer send(SimController& c, std::uint8_t command,
                          const std::vector<std::uint8_t>& payload) {
    static const CommandTable table;
    SimRequest r;
    r.command = command;
    r.payload = Bytes(payload);
    return *table.answer(c, r);
}

} // namespace

TEST(SimText, KnownKeysAreAppliedAndNamedUnknownOnesFailTheCommand) {
    ControllerSeed seed;
    seed.address = 0x7F000002;
    SimController c = makeController(seed);
    auto a = send(c, 148,
                  large(std::string(8, '\0') + "setIp=127.0.0.100;setIpAlloc=1;open3;dir2=2;"
                                               "settime=2030-01-02 03:04:05 3"));
    EXPECT_EQ(a.code, 149);
    EXPECT_EQ(a.reply.status, kDone);
    EXPECT_EQ(a.reply.payload, "setIp;setIpAlloc;open3;dir2;settime");
    EXPECT_EQ(c.address, 0x7F000064u);
    EXPECT_EQ(c.config.basic.ip, (std::array<std::uint8_t, 4>{127, 0, 0, 100}));
    EXPECT_EQ(c.config.basic.ipAlloc, 1);
    EXPECT_EQ(c.remote.relays[2].commands, 1);
    EXPECT_EQ(c.text.settings.at("dir2"), "2");

    // Off the machine, an unknown key, a door beyond four: refused, the rest still applied.
    a = send(c, 148, large(std::string(8, '\0') + "setIp=10.0.0.5;open5;beep;setIpAlloc=0"));
    EXPECT_EQ(a.reply.status, kFailed);
    EXPECT_EQ(a.reply.payload, "setIpAlloc");
    EXPECT_EQ(c.address, 0x7F000064u);
    EXPECT_EQ(c.text.received.size(), 2u);
    EXPECT_EQ(send(c, 148, std::vector<std::uint8_t>(8, 0)).reply.status, kBadFormat);
}

TEST(SimText, ATemplateAfterTheWordsZeroAndFiveIsKept) {
    SimController c = makeController(ControllerSeed{});
    std::string front("\0\0\0\0\x05\0\0\0\xAB", 9);
    EXPECT_EQ(send(c, 42, large(front)).reply.status, kDone);
    front[4] = 4;
    EXPECT_EQ(send(c, 42, large(front)).reply.status, kFailed);
    ASSERT_EQ(c.text.templates.size(), 1u);
    EXPECT_EQ(c.text.templates[0].substr(0, 4), "ab00");
}
