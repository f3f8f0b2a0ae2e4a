// The configuration module's own backups and clearing, through the command table: what each
// copy keeps, what a restore puts back, and what clearing all data leaves.
#include <gtest/gtest.h>

#include <vector>

#include "sim_config.h"
#include "sim_exchange.h"
#include "sim_right_storage.h"

using namespace quorvane;
using namespace quorvane::sim;

namespace {

using quorvane::sim::test::Answer;
using quorvane::sim::test::send;

SimController controller() {
    ControllerSeed seed;
    seed.number = 2;
    seed.address = 0x7F000002;
    seed.port = 65534;
    seed.namePrefix = "c";
    return makeController(seed);
}

// What a write could have changed since the copy was made.
void change(SimController& c) {
    c.config.basic.hostPort = 1234;
    c.config.basic.name = "changed";
    c.config.counters.reportIndex = 99;
    c.config.counters.insideLimit = 7;
    c.config.doorSettings[0] = 0x55;
}

struct CopyCase {
    const char* name;
    std::uint8_t makeCopy;
    std::uint8_t restore;
};

class Restores : public ::testing::TestWithParam<CopyCase> {};

} // namespace

TEST_P(Restores, PutBackWhatTheCopyHeld) {
    SimController c = controller();
    const ConfigState before = c.config;
    EXPECT_EQ(send(c, GetParam().restore).status, kFailed) << "no copy made yet";
    Answer made = send(c, GetParam().makeCopy);
    EXPECT_EQ(made.code, GetParam().makeCopy + 1);
    EXPECT_EQ(made.status, kDone);
    change(c);
    Answer restored = send(c, GetParam().restore);
    EXPECT_EQ(restored.code, GetParam().restore + 1);
    EXPECT_EQ(restored.status, kDone);
    EXPECT_EQ(c.config.basic, before.basic);
    EXPECT_EQ(c.config.doorSettings, before.doorSettings);
    EXPECT_EQ(c.config.counters.reportIndex, before.counters.reportIndex);
    EXPECT_EQ(c.config.counters.insideLimit, before.counters.insideLimit);
}

INSTANTIATE_TEST_SUITE_P(Copies, Restores,
                         ::testing::Values(CopyCase{"Backup", 96, 100},
                                           CopyCase{"Factory", 98, 102}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigBackups, TheTwoCopiesAreKeptApart) {
    SimController c = controller();
    send(c, 98);
    change(c);
    send(c, 96);
    c.config.basic.hostPort = 4321;
    send(c, 102);
    EXPECT_NE(c.config.basic.hostPort, 1234);
    send(c, 100);
    EXPECT_EQ(c.config.basic.hostPort, 1234);
}

TEST(ConfigClearAll, EmptiesCopiesRightsAndLogsButKeepsTheConfiguration) {
    SimController c = controller();
    send(c, 96);
    send(c, 98);
    const std::array<std::uint8_t, kRightWireSize> right{0x12, 0x34};
    ASSERT_TRUE(storeRight(c, Bytes(right)));
    ASSERT_EQ(storedRightCount(c), 1u);
    c.logs.records.push_back({});
    c.logs.identityDocuments.push_back("id");
    const ConfigState before = c.config;
    Answer a = send(c, 50);
    EXPECT_EQ(a.code, 51);
    EXPECT_EQ(a.status, kDone);
    EXPECT_FALSE(c.config.backup);
    EXPECT_FALSE(c.config.factory);
    EXPECT_EQ(storedRightCount(c), 0u);
    EXPECT_TRUE(c.logs.records.empty());
    EXPECT_TRUE(c.logs.identityDocuments.empty());
    EXPECT_EQ(c.config.basic, before.basic);
    EXPECT_EQ(c.config.clearAlls, 1);
    EXPECT_EQ(send(c, 100).status, kFailed);
}
