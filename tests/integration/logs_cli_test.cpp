// The record commands of quorvane-cli against quorvane-sim (700 log records, the three fixture
// identity documents) over loopback, in one round: what each prints, its exit code, and what the
// controller keeps afterwards. A fetch of 300 records takes the controller's burst of 300 replies.
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
    std::string burst = run({"logs", "fetch", "--start", "400", "--count", "300"});
    EXPECT_EQ(std::count(burst.begin(), burst.end(), '\n'), 300);

    auto doc =
        nlohmann::json::parse(run({"logs", "fetch", "--start", "699", "--count", "2", "--json"}));
    ASSERT_EQ(doc.size(), 2u);
    EXPECT_EQ(doc[0]["index"], 699);
    EXPECT_EQ(doc[0]["time"], "2026-01-01 11:39:00");
    EXPECT_EQ(doc[1]["type"], "没有数据");

    auto ids = splitLines(run({"ids", "fetch", "--count", "3"}));
    ASSERT_EQ(ids.size(), 3u);
    EXPECT_EQ(ids[0].rfind("操作成功，证件信息为=00000,张三,男,汉,19800101,", 0), 0u) << ids[0];
    EXPECT_NE(ids[1].find(",港澳台居住证$H12345678,127.0.0.1:"), std::string::npos) << ids[1];
    EXPECT_EQ(ids[2], "操作成功，证件信息为=此位置没有数据或者数据错误！");

    run({"logs", "fill"});
    EXPECT_EQ(sim.controller("127.0.0.1")["logs"]["count"].integer(), 701);
}
