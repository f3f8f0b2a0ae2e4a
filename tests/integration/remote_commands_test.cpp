// One run of each remote command of quorvane-cli against quorvane-sim over loopback, and the
// engine's receive and handling threads under two callers at once.
#include <gtest/gtest.h>

#include <future>
#include <regex>

#include "recording_user_port.h"
#include "remote_sim.h"
#include "session/tool_session.h"

using namespace quorvane;
using namespace quorvane::test;

TEST(RemoteCli, EachCommandReachesTheSimulatedController) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    const IntegrationHome& h = s.h;
    auto run = [&](std::vector<std::string> words, int expectedCode) {
        int code = -1;
        std::string out = h.cli(words, &code);
        EXPECT_EQ(code, expectedCode) << words[0] << " " << words[1];
        return out;
    };
    EXPECT_EQ(run({"open", "-d", "127.0.0.2", "--door", "3", "--state", "hold"}, 0),
              "操作成功！\n");
    EXPECT_EQ(run({"time", "set", "-d", "127.0.0.2"}, 0), "操作成功！\n");
    EXPECT_TRUE(std::regex_match(
        run({"time", "get", "-d", "127.0.0.2"}, 0),
        std::regex("操作成功，设备时间为=20[0-9]{2}-[0-9]{2}-[0-9]{2} [0-9:]{8}\n")));
    // Questions: without --yes the answer is No and nothing is sent.
    EXPECT_EQ(run({"open-all", "--door", "1", "--ms", "500"}, 3), "");
    EXPECT_EQ(run({"--yes", "open-all", "--door", "4", "--ms", "30000", "-d", "127.0.0.3"}, 0),
              "操作成功！\n");
    EXPECT_EQ(run({"reset", "-d", "127.0.0.2"}, 3), "");
    EXPECT_EQ(run({"--yes", "reset", "-d", "127.0.0.2"}, 0), "重启设备命令已发送！\n");
    EXPECT_EQ(run({"--yes", "clear-log", "-d", "127.0.0.2"}, 0), "操作成功！\n");
    EXPECT_EQ(run({"self-test", "-d", "127.0.0.2", "--flags", "0x08000010"}, 1),
              "自测操作失败！返回码：4\n");
    EXPECT_EQ(run({"self-test", "-d", "127.0.0.2", "--flags", "134217736"}, 0),
              "自测操作成功！返回码：2\n");

    const JsonValue remote = s.controller("127.0.0.2")["remote"];
    EXPECT_EQ(remote["relays"][2]["mode"].str(), "held-energised");
    EXPECT_FALSE(remote["clock"].str().empty());
    EXPECT_EQ(remote["restarts"].integer(), 2); // the reset and the clear log's own
    EXPECT_GE(remote["logClears"].integer(), 1);
    EXPECT_EQ(remote["testFlagBits"][1].integer(), 27);
    EXPECT_EQ(s.controller("127.0.0.3")["remote"]["relays"][3]["openMs"].integer(), 30000);
    EXPECT_EQ(s.controller("127.0.0.1")["remote"]["relays"][0]["commands"].integer(), 0);
}

// Two operations on two threads, each with its own target: every reply reaches the exchange
// that asked for it, never the other.
TEST(RemoteThreads, TwoThreadsRefreshingTwoControllersEachGetTheirOwn) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    RecordingUserPort port;
    ToolSession session(s.h.home, port);
    session.start();
    session.log().setEcho(false);
    auto refreshMany = [&](const std::string& ip, const std::string& name) {
        int right = 0;
        for (int i = 0; i < 100; ++i) {
            auto record = session.refreshDevice(ip, 5000);
            right += record && record->name == name && record->ip == ip;
        }
        return right;
    };
    auto a = std::async(std::launch::async, refreshMany, "127.0.0.2", "门禁2");
    auto b = std::async(std::launch::async, refreshMany, "127.0.0.3", "门禁3");
    EXPECT_EQ(a.get(), 100);
    EXPECT_EQ(b.get(), 100);
    EXPECT_EQ(session.dispatcher().slotCount(), 0u);
    EXPECT_EQ(session.devices().size(), 0u);
    session.stop();
}
