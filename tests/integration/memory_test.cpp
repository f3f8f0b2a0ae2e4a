// The memory commands against quorvane-sim over loopback: rights written as a right-storage
// image are found by the controller's own check (command 22).
#include <gtest/gtest.h>

#include "integration_home.h"
#include "sim_dump_request.h"

using namespace quorvane;
using namespace quorvane::test;

TEST(MemoryCli, RightsWrittenAsAnImageAreFoundByTheControllersCheck) {
    IntegrationHome h(5);
    const std::string dump = h.home + "/sim.json";
    ChildProcess sim({simPath(), "--port", std::to_string(h.port), "--count", "1", "--large-rights",
                      "--dump", dump});
    ASSERT_TRUE(sim.waitForLine("ready"));
    writeFile(h.home + "/ids.txt", "100\r\n200\r\n300\r\n");
    int code = -1;
    h.cli({"--yes", "rights", "image", "-d", "127.0.0.1", "--ids"}, &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(h.cli({"rights", "check", "-d", "127.0.0.1", "200", "--readers", "1"}, &code),
              "权限验证通过！\n");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(h.cli({"rights", "check", "-d", "127.0.0.1", "201", "--readers", "1"}, &code),
              "权限验证失败！\n");

    auto state = requestSimDump(sim, dump);
    ASSERT_TRUE(state);
    const JsonValue& memory = simController(*state, "127.0.0.1")["memory"];
    // The bitmap's pages always go; of the 4,000 FLASH pages only those by each card's slot.
    EXPECT_EQ(memory["eeprom"]["written"][0].integer(), 58);
    EXPECT_GE(memory["flash"]["written"].size(), 3u);
    EXPECT_LE(memory["flash"]["written"].size(), 6u);
}
