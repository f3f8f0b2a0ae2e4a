// quorvane-cli and the engine against quorvane-sim over loopback, each with its state dump in a
// program directory of the test's own. The configuration and record commands run in one round
// each: what each prints, its exit code, and what the simulated controllers keep afterwards
// (what the blocks and texts hold is the core's to test; here the words reach the right
// operation). A fetch of 300 records takes the controller's burst of 300 replies. The engine's
// receive and handling threads serve two callers at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <future>

#include <nlohmann/json.hpp>

#include "integration_home.h"
#include "recording_user_port.h"
#include "session/tool_session.h"
#include "sim_dump_request.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct RemoteSim {
    explicit RemoteSim(std::vector<std::string> extra = {}, int portOffset = 0, int count = 3)
        : h(portOffset), dumpFile(h.home + "/dump.json"), sim([&] {
              extra.insert(extra.end(), {"--count", std::to_string(count), "--dump", dumpFile});
              return startSim(h.port, extra);
          }()) {}

    // The dump entry of the controller at address; a null value (and a failure) without one.
    JsonValue controller(const std::string& address) {
        auto d = requestSimDump(sim, dumpFile);
        EXPECT_TRUE(d) << "no dump from the simulator";
        return d ? simController(*d, address) : JsonValue();
    }

    IntegrationHome h;
    std::string dumpFile;
    ChildProcess sim;
};

// The configuration module's entry of one controller.
JsonValue config(RemoteSim& s, const std::string& address) {
    return s.controller(address)["configuration"];
}
int requests(RemoteSim& s, const std::string& address, int code) {
    return static_cast<int>(s.controller(address)["requests"][std::to_string(code)].integer());
}

// D32 on, the settings part of the door block, as spaced hexadecimal.
std::string doorSettings(const JsonValue& config) {
    return hex(unhex(config["doorBlock"].str()).substr(32));
}

} // namespace

TEST(ConfigCli, EachConfigurationCommandOnASimulatedController) {
    RemoteSim sim;
    ASSERT_TRUE(sim.sim.waitForLine("ready"));
    const IntegrationHome& h = sim.h;
    int code = -1;
    EXPECT_EQ(h.cli({"save", "-d", "127.0.0.2", "--host-ip", "127.0.0.77", "--host-port", "50123",
                     "--report-mode", "2"},
                    &code),
              "操作成功！\n");
    EXPECT_EQ(code, 0);
    // Not confirmed: nothing is sent. Confirmed: by broadcast, to that controller's id only.
    h.cli({"save", "-d", "127.0.0.3", "--broadcast", "--host-port", "50124"}, &code);
    EXPECT_EQ(code, 3);
    EXPECT_EQ(requests(sim, "127.0.0.3", 4), 0);
    EXPECT_EQ(
        h.cli({"--yes", "save", "-d", "127.0.0.3", "--broadcast", "--host-port", "50124"}, &code),
        "操作成功！\n");
    JsonValue c = config(sim, "127.0.0.2");
    EXPECT_EQ(c["basicWrites"].integer(), 1);
    EXPECT_EQ(c["reportMode"].integer(), 2);
    EXPECT_EQ(c["hostPort"].integer(), 50123);
    // The PC receiving reports, at B34 of the basic block.
    EXPECT_EQ(hex(unhex(c["basicBlock"].str()).substr(34, 4)), "7F 00 00 4D");
    EXPECT_EQ(config(sim, "127.0.0.3")["hostPort"].integer(), 50124);
    EXPECT_EQ(requests(sim, "127.0.0.1", 4), 0);

    // The door block: backed up to a file, the edited file restored; its show and its copy to
    // other controllers are the JSON rows' and the core's.
    const std::string saved = h.home + "/saved.cfg";
    EXPECT_EQ(h.cli({"door-config", "-d", "127.0.0.2", "--backup", saved}, &code), "保存成功！\n");
    EXPECT_EQ(hex(readFile(saved)), doorSettings(config(sim, "127.0.0.2")));
    // Relay 1 in time zone 1 with report (flags 0x01).
    std::string edited = readFile(saved);
    edited[288 - 32 + 1] = 0x01;
    writeFile(saved, edited);
    EXPECT_EQ(h.cli({"door-config", "-d", "127.0.0.2", "--restore", saved}, &code), "保存成功！\n");
    EXPECT_EQ(hex(edited), doorSettings(config(sim, "127.0.0.2")));

    // The controller's own backups; then everything cleared.
    EXPECT_EQ(h.cli({"--yes", "restore", "-d", "127.0.0.1"}, &code), "操作失败！\n");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(h.cli({"--yes", "backup-factory", "-d", "127.0.0.1"}, &code), "操作成功！\n");
    EXPECT_EQ(h.cli({"--yes", "backup", "-d", "127.0.0.1"}, &code), "操作成功！\n");
    h.cli({"save", "-d", "127.0.0.1", "--host-port", "50123"}, &code);
    EXPECT_EQ(h.cli({"--yes", "restore-factory", "-d", "127.0.0.1"}, &code), "操作成功！\n");
    EXPECT_EQ(config(sim, "127.0.0.1")["hostPort"].integer(), 50000);
    EXPECT_EQ(h.cli({"--yes", "clear-all", "-d", "127.0.0.1"}, &code),
              "清除所有数据命令已发送，完成后控制器将自动重新启动！\n");
    EXPECT_EQ(code, 0);
    c = config(sim, "127.0.0.1");
    EXPECT_EQ(c["clearAlls"].integer(), 1);
    EXPECT_TRUE(c["backup"].isNull());
    EXPECT_TRUE(c["factory"].isNull());
}

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
