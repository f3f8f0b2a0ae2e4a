// The record commands of quorvane-cli against quorvane-sim (700 log records, the three fixture
// identity documents) over loopback: what each prints, its exit code, and what the controller
// keeps afterwards. A fetch of 300 records takes the controller's burst of 300 replies.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <nlohmann/json.hpp>

#include "remote_sim.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct CliCase {
    const char* name;
    std::vector<std::string> words; // after the device
    int code;
    std::function<void(const std::string& out, RemoteSim& sim)> check;
};

class LogsCli : public ::testing::TestWithParam<CliCase> {};

TEST_P(LogsCli, PrintsAndExits) {
    RemoteSim sim({"--logs", "700"}, 41, 1);
    ASSERT_TRUE(sim.sim.waitForLine("ready"));
    std::vector<std::string> words = GetParam().words;
    words.insert(words.begin() + 2, {"-d", "127.0.0.1"});
    int code = -1;
    std::string out = sim.h.cli(words, &code);
    EXPECT_EQ(code, GetParam().code);
    GetParam().check(out, sim);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Commands, LogsCli, ::testing::Values(
    CliCase{"FetchABurst", {"logs", "fetch", "--start", "400", "--count", "300"}, 0,
            [](const std::string& out, RemoteSim&) {
                // The summary, then the text collected.
                auto l = splitLines(out);
                ASSERT_GE(l.size(), 302u);
                EXPECT_EQ(l[1], "提取记录：共300，成功300，失败0，无应答0");
                EXPECT_EQ(std::count_if(l.begin(), l.end(),
                                        [](const std::string& x) { return x.rfind("获取记录成功", 0) == 0; }),
                          300);
            }},
    CliCase{"FetchPastTheEndAsJson", {"logs", "fetch", "--start", "699", "--count", "2", "--json"}, 0,
            [](const std::string& out, RemoteSim&) {
                auto doc = nlohmann::json::parse(out);
                ASSERT_EQ(doc.size(), 2u);
                EXPECT_EQ(doc[0]["index"], 699);
                EXPECT_EQ(doc[0]["time"], "2026-01-01 11:39:00");
                EXPECT_EQ(doc[1]["type"], "没有数据");
            }},
    CliCase{"IdentityDocuments", {"ids", "fetch", "--count", "3"}, 0,
            [](const std::string& out, RemoteSim&) {
                auto l = splitLines(out);
                ASSERT_GE(l.size(), 5u);
                EXPECT_EQ(l[1], "提取证件：共3，成功3，失败0，无应答0");
                l.erase(l.begin(), l.end() - 3);
                EXPECT_EQ(l[0].rfind("操作成功，证件信息为=00000,张三,男,汉,19800101,", 0), 0u) << l[0];
                EXPECT_NE(l[1].find(",港澳台居住证$H12345678,127.0.0.1:"), std::string::npos) << l[1];
                EXPECT_EQ(l[2], "操作成功，证件信息为=此位置没有数据或者数据错误！");
            }},
    CliCase{"FillLog", {"logs", "fill"}, 0,
            [](const std::string&, RemoteSim& sim) {
                EXPECT_EQ(sim.controller("127.0.0.1")["logs"]["count"].integer(), 701);
            }},
    // The viewer opens on its last page (records 691..700), read from the EEPROM buffer.
    CliCase{"ViewTheLastPage", {"logs", "view", "--card-only"}, 0,
            [](const std::string& out, RemoteSim&) {
                auto l = splitLines(out);
                ASSERT_EQ(l.size(), 10u);
                std::string blanked = "691\t2026-01-01 11:30:00\t非刷卡日志";
                for (int c = 3; c < 20; ++c)
                    blanked += "\t-";
                EXPECT_EQ(l[0], blanked);
                EXPECT_EQ(l[1].rfind("692\t2026-01-01 11:31:00\t刷卡记录\t正常记录\t0003000691\t", 0), 0u) << l[1];
            }}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
