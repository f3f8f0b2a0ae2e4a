// The record commands of quorvane-cli against quorvane-sim (700 log records) over loopback, in
// one round: what each prints (a fetch its summary first),
// its exit code, and what the controller keeps afterwards. A fetch of 300 records takes the
// controller's burst of 300 replies.
#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "remote_sim.h"

using namespace quorvane;
using namespace quorvane::test;

TEST(LogsCli, EachRecordCommandPrintsAndExits) {
    RemoteSim sim({"--logs", "700"}, 41, 1);
    ASSERT_TRUE(sim.sim.waitForLine("ready"));
    auto run = [&](std::vector<std::string> words) {
        words.insert(words.begin() + 2, {"-d", "127.0.0.1"});
        int code = -1;
        std::string out = sim.h.cli(words, &code);
        EXPECT_EQ(code, 0) << words[0] << " " << words[1];
        return out;
    };
    // A fetch prints its summary, then the text collected.
    auto burst = splitLines(run({"logs", "fetch", "--start", "400", "--count", "300"}));
    ASSERT_GE(burst.size(), 302u);
    EXPECT_EQ(burst[1], "提取记录：共300，成功300，失败0，无应答0");
    EXPECT_EQ(std::count_if(burst.begin(), burst.end(),
                            [](const std::string& x) { return x.rfind("获取记录成功", 0) == 0; }),
              300);

    auto doc =
        nlohmann::json::parse(run({"logs", "fetch", "--start", "699", "--count", "2", "--json"}));
    ASSERT_EQ(doc.size(), 2u);
    EXPECT_EQ(doc[0]["index"], 699);
    EXPECT_EQ(doc[0]["time"], "2026-01-01 11:39:00");
    EXPECT_EQ(doc[1]["type"], "没有数据");

    // The viewer opens on its last page (records 691..700), read from the EEPROM buffer.
    auto page = splitLines(run({"logs", "view", "--card-only"}));
    ASSERT_EQ(page.size(), 10u);
    std::string blanked = "691\t2026-01-01 11:30:00\t非刷卡日志";
    for (int c = 3; c < 20; ++c)
        blanked += "\t-";
    EXPECT_EQ(page[0], blanked);
    EXPECT_EQ(page[1].rfind("692\t2026-01-01 11:31:00\t刷卡记录\t正常记录\t0003000691\t", 0), 0u)
        << page[1];

    run({"logs", "fill"});
    EXPECT_EQ(sim.controller("127.0.0.1")["logs"]["count"].integer(), 701);
}
