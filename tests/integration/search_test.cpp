// Searches against quorvane-sim and tavrin over real loopback sockets.
#include <gtest/gtest.h>

#include <thread>

#include "integration_home.h"
#include "protocol/admin_channel.h"
#include "protocol/frame.h"
#include "recording_user_port.h"
#include "session/tool_session.h"
#include "value_waiter.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

std::vector<std::string> column(const std::string& out, std::size_t c) {
    std::vector<std::string> v;
    for (const auto& line : splitLines(out))
        v.push_back(splitTabs(line).at(c));
    return v;
}

} // namespace

TEST(Search, CliListsEverySimulatedControllerInAddressOrder) {
    IntegrationHome h;
    // Addresses given out of order: the list is ordered, not in arrival order.
    ChildProcess sim(std::vector<std::string>{simPath(), "--port", std::to_string(h.port),
                                              "--block", "mixed", "--address", "127.0.0.9",
                                              "--address", "127.0.0.3", "--address", "127.0.0.10",
                                              "--address", "127.0.0.1", "--address", "127.0.0.2"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    int rc = -1;
    std::string out = h.cli({"search", "--wait", "1500"}, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(column(out, 2), (std::vector<std::string>{"127.0.0.1", "127.0.0.2", "127.0.0.3",
                                                        "127.0.0.9", "127.0.0.10"}));
    auto first = splitTabs(splitLines(out).at(0));
    ASSERT_EQ(first.size(), 12u);
    EXPECT_EQ(first[0], "00261"); // group 1, number 5 (the fourth controller)
    EXPECT_EQ(first[1], "门禁4");
    EXPECT_EQ(first[6], "0-正常/广播;");
    EXPECT_EQ(first[10], "00.1a.2b.00.00.04");
    // The search address and port were written back as the window writes them.
    Settings settings(h.home);
    EXPECT_EQ(settings.readInt("net", "common-broadcast-address", 0), 2147483647);

    std::string json = h.cli({"search", "--wait", "1500", "--json"}, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(std::count(json.begin(), json.end(), '{'), 5);
    EXPECT_NE(json.find("\"设备IP地址\": \"127.0.0.10\""), std::string::npos);
}

TEST(Search, ControlCharactersInANameDoNotSplitTheRow) {
    IntegrationHome h;
    ChildProcess sim = startSim(h.port, {"--count", "2", "--name-prefix", "a\tb\nc"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    auto lines = splitLines(h.cli({"search", "--wait", "1000"}));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(splitTabs(lines[0]).size(), 12u);
    EXPECT_EQ(splitTabs(lines[0])[1], "a b c1");
    std::string json = h.cli({"search", "--wait", "1000", "--json"});
    EXPECT_NE(json.find("\"a\\tb\\nc2\""), std::string::npos);
}

TEST(Search, NothingAnswersAnEmptyAddressAndToOverridesOnlyThisRun) {
    IntegrationHome h;
    ChildProcess sim = startSim(h.port, {"--count", "3"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    EXPECT_EQ(h.cli({"search", "--to", "127.0.0.77", "--wait", "500"}), "");
    EXPECT_EQ(splitLines(h.cli({"search", "--to", "127.0.0.2", "--wait", "1000"})).size(), 1u);
    Settings settings(h.home);
    EXPECT_EQ(settings.readString("net", "common-broadcast-address"), "2147483647");
}

TEST(Search, ThroughTavrinListsItsControllersWithThePipeMode) {
    IntegrationHome h;
    ChildProcess sim = startSim(h.port, {"--count", "4", "--block", "extended"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    ChildProcess tavrin(std::vector<std::string>{tavrinPath(), "--home", h.home, "--search-address",
                                                 "127.255.255.255", "--quiet-ms", "300"});
    ASSERT_TRUE(tavrin.waitForLine("serving the pipe"));
    // The tool's own broadcast goes where nobody answers: every row comes through the service.
    std::string out = h.cli({"search", "--pipe", "--to", "127.0.0.250", "--wait", "2500"});
    auto modes = column(out, 6);
    ASSERT_EQ(modes.size(), 4u);
    for (const auto& m : modes)
        EXPECT_EQ(m, "0-正常/管道;");
    EXPECT_EQ(column(out, 2).front(), "127.0.0.1");
    // Without --pipe the service's controllers are not listed.
    EXPECT_EQ(h.cli({"search", "--to", "127.0.0.250", "--wait", "500"}), "");
}

class SessionAgainstSim : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sim.waitForLine("ready"));
        session.start();
        session.log().setEcho(false);
    }
    void TearDown() override { session.stop(); }

    IntegrationHome h;
    ChildProcess sim = startSim(h.port, {"--count", "4"});
    RecordingUserPort port;
    ToolSession session{h.home, port};
};

TEST_F(SessionAgainstSim, DeviceFoundOnlyThroughThePipeIsAddressedThroughThePipe) {
    ChildProcess tavrin(std::vector<std::string>{tavrinPath(), "--home", h.home, "--search-address",
                                                 "127.255.255.255", "--quiet-ms", "300"});
    ASSERT_TRUE(tavrin.waitForLine("serving the pipe"));
    ValueWaiter listed;
    session.setListChangedCallback([&] { listed.set(static_cast<int>(session.devices().size())); });
    SearchRequest request;
    request.searchAddress = 0x7F0000FA; // 127.0.0.250: nobody
    request.port = static_cast<std::uint16_t>(h.port);
    request.listServiceDevices = true;
    ASSERT_TRUE(session.search(request));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (session.devices().size() < 4 && std::chrono::steady_clock::now() < deadline) {
        listed.clear();
        if (session.devices().size() < 4)
            listed.wait(std::chrono::seconds(1));
    }
    auto rows = session.devices().snapshot();
    ASSERT_EQ(rows.size(), 4u);
    const DeviceUIInfo& device = rows[2];
    EXPECT_EQ(device.searchModes, kFoundByPipe);

    // Open door 1 for 500 ms: the service relays it by the device's name and id.
    ExchangeRequest open;
    open.target = session.targetOf(device);
    EXPECT_EQ(open.target.route, Route::HostService);
    open.command = 16;
    open.payload = {1, 0, 50};
    auto outcome = session.exchange().run(open, ExchangeLimits{std::chrono::seconds(20), 1});
    ASSERT_TRUE(outcome.answered());
    EXPECT_TRUE(outcome.ok());
    EXPECT_FALSE(outcome.reply->viaUdp);
    EXPECT_EQ(outcome.reply->source, device.ip + ":" + std::to_string(h.port));
}

TEST_F(SessionAgainstSim, RefreshFillsThePendingRecordAndLeavesTheListAlone) {
    auto record = session.refreshDevice("127.0.0.3", 10000);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->name, "门禁3");
    EXPECT_EQ(record->sourceAddress, "127.0.0.3:" + std::to_string(h.port));
    EXPECT_EQ(session.devices().size(), 0u);
    EXPECT_FALSE(session.refreshDevice("127.0.0.99", 300));
}

TEST_F(SessionAgainstSim, RefreshSelectedAddressesTheRecordAndTimesOutWithItsMessage) {
    auto found = session.refreshDevice("127.0.0.4", 10000);
    ASSERT_TRUE(found);
    DeviceUIInfo selected = *found;
    selected.name = "stale";
    DeviceUIInfo fresh;
    EXPECT_EQ(session.refreshSelected(selected, true, &fresh), 0);
    EXPECT_EQ(fresh.name, "门禁4");
    EXPECT_EQ(session.refreshSelected(std::nullopt, true), -1);
    selected.ip = "127.0.0.99";
    EXPECT_EQ(session.refreshSelected(selected, true), 1);
    auto messages = port.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "请选择要操作的设备！");
    EXPECT_EQ(
        messages[1],
        "设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本地的数据。");
}

TEST_F(SessionAgainstSim, UnknownCommandGetsTheGeneralErrorReply) {
    ExchangeRequest request;
    request.target = *session.prepareDevAddress("127.0.0.2", nullptr);
    request.command = 200;
    auto outcome = session.exchange().run(request, ExchangeLimits{std::chrono::seconds(10), 1});
    ASSERT_TRUE(outcome.answered());
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.reply->code, 255);
    EXPECT_EQ(outcome.reply->status, 0xFF);
    // The standard handling ran before the waiting operation woke: its notice is there.
    EXPECT_EQ(port.notices(), std::vector<std::string>{"不支持的命令字！"});
}

TEST(SimFaults, DroppedRepliesListNothingAndCorruptRepliesAreNoticed) {
    IntegrationHome h;
    {
        ChildProcess sim = startSim(h.port, {"--count", "3", "--drop", "1"});
        ASSERT_TRUE(sim.waitForLine("ready"));
        EXPECT_EQ(h.cli({"search", "--wait", "500"}), "");
    }
    ChildProcess sim = startSim(h.port, {"--count", "2", "--corrupt", "1", "--seed", "7"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    auto lines = splitLines(h.cli({"search", "--wait", "1000"}));
    // Each reply is announced, then still handled as the window handles it.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "返回消息检验和失败！"), 2);
    EXPECT_EQ(lines.size(), 4u);
}

// Ten thousand controllers answer one search within a fraction of a second: all are listed.
TEST(SearchBurst, TenThousandSimulatedControllersAtOnceAreAllListed) {
    IntegrationHome h;
    ChildProcess sim(
        std::vector<std::string>{simPath(), "--port", std::to_string(h.port), "--count", "10000"});
    ASSERT_TRUE(sim.waitForLine("ready", std::chrono::seconds(60)));
    int rc = -1;
    std::string out = h.cli({"search", "--wait", "8000"}, &rc);
    EXPECT_EQ(rc, 0);
    auto lines = splitLines(out);
    EXPECT_EQ(lines.size(), 10000u);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(splitTabs(lines.front()).at(2), "127.0.0.1");
}
