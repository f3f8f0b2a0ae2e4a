// One run of each configuration command of quorvane-cli against quorvane-sim over loopback:
// what it prints, its exit code, and what the simulated controllers keep afterwards.
#include <cstdlib>
#include <gtest/gtest.h>

#include "infra/codepage.h"
#include "remote_sim.h"
#include "session/host_service.h"
#include "summary_text.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

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

const std::vector<std::string>* rowOf(const std::vector<std::vector<std::string>>& rows,
                                      const std::string& ip) {
    for (const auto& r : rows)
        if (r.size() > 2 && r[2] == ip)
            return &r;
    return nullptr;
}

std::vector<std::vector<std::string>> search(const IntegrationHome& h) {
    std::vector<std::vector<std::string>> rows;
    for (const auto& line : splitLines(h.cli({"search", "--wait", "1500"})))
        rows.push_back(splitTabs(line));
    return rows;
}

} // namespace

TEST(ConfigCli, SaveBroadcastSaveThenASearchShowsTheNewValues) {
    RemoteSim sim({}, 0, 3);
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

    auto rows = search(h);
    const auto* row = rowOf(rows, "127.0.0.2");
    ASSERT_TRUE(row);
    EXPECT_EQ((*row)[1], "00002"); // sn-is-mac: the name is the device flag from the MAC
    EXPECT_EQ((*row)[3], "127.0.0.77");
    EXPECT_EQ((*row)[4], "50123");
    JsonValue c = config(sim, "127.0.0.2");
    EXPECT_EQ(c["basicWrites"].integer(), 1);
    EXPECT_EQ(c["reportMode"].integer(), 2);
    EXPECT_EQ(config(sim, "127.0.0.3")["hostPort"].integer(), 50124);
    EXPECT_EQ(requests(sim, "127.0.0.1", 4), 0);
}

TEST(ConfigCli, DoorConfigBackupRestoreShowAndCopyKeepingCounters) {
    RemoteSim sim({}, 0, 4);
    ASSERT_TRUE(sim.sim.waitForLine("ready"));
    const IntegrationHome& h = sim.h;
    int code = -1;
    const std::string saved = h.home + "/saved.cfg";
    EXPECT_EQ(h.cli({"door-config", "-d", "127.0.0.2", "--backup", saved}, &code), "保存成功！\n");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(hex(readFile(saved)), doorSettings(config(sim, "127.0.0.2")));

    // A file of any other size is refused and nothing is written.
    const std::string bad = h.home + "/bad.cfg";
    writeFile(bad, std::string(393, '\x01'));
    EXPECT_EQ(h.cli({"door-config", "-d", "127.0.0.2", "--restore", bad}, &code),
              "读取失败或者文件大小不匹配！\n");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(requests(sim, "127.0.0.2", 14), 0);

    // Relay 1 in time zone 1 with report (flags 0x01), time zone 2 from 08:00 to 17:30.
    std::string edited = readFile(saved);
    edited[288 - 32 + 1] = 0x01;
    edited.replace(336 + 8 - 32, 5, unhex("0040C08B1F"));
    writeFile(saved, edited);
    EXPECT_EQ(h.cli({"door-config", "-d", "127.0.0.2", "--restore", saved}, &code), "保存成功！\n");
    auto lines = splitLines(h.cli({"door-config", "-d", "127.0.0.2", "--show"}, &code));
    EXPECT_EQ(code, 0);
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("继电器1=状态:自主控制,开门时长:0,上报:上报,消防:不联动,时段状态:0=0"));
    EXPECT_TRUE(has("时段2=08:00:00-17:30:00,星期0011111;预留:0,0,0"));

    EXPECT_EQ(withoutElapsed(h.cli(
                  {"copy-config", "--from", "127.0.0.2", "--to", "127.0.0.3", "--to", "127.0.0.4"},
                  &code)),
              "操作成功！\n复制配置：共2，成功2，失败0，无应答0\n127.0.0.3：保存成功\n"
              "127.0.0.4：保存成功\n");
    EXPECT_EQ(code, 0);
    for (int n = 3; n <= 4; ++n) {
        JsonValue c = config(sim, "127.0.0." + std::to_string(n));
        EXPECT_EQ(doorSettings(c), hex(edited)) << n;
        EXPECT_EQ(c["reportIndex"].integer(), n) << "each keeps its own report index";
    }
}

TEST(ConfigCli, ControllerSideBackupsAndClearAll) {
    RemoteSim sim({}, 0, 2);
    ASSERT_TRUE(sim.sim.waitForLine("ready"));
    const IntegrationHome& h = sim.h;
    int code = -1;
    EXPECT_EQ(h.cli({"backup", "-d", "127.0.0.2"}, &code), "");
    EXPECT_EQ(code, 3);
    EXPECT_EQ(requests(sim, "127.0.0.2", 96), 0);
    // Nothing to restore from yet.
    EXPECT_EQ(h.cli({"--yes", "restore", "-d", "127.0.0.2"}, &code), "操作失败！\n");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(h.cli({"--yes", "backup-factory", "-d", "127.0.0.2"}, &code), "操作成功！\n");
    EXPECT_EQ(h.cli({"--yes", "backup", "-d", "127.0.0.2"}, &code), "操作成功！\n");
    h.cli({"save", "-d", "127.0.0.2", "--host-port", "50123"}, &code);
    EXPECT_EQ(h.cli({"--yes", "restore-factory", "-d", "127.0.0.2"}, &code), "操作成功！\n");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(config(sim, "127.0.0.2")["hostPort"].integer(), 50000);
    EXPECT_EQ(h.cli({"--yes", "clear-all", "-d", "127.0.0.2"}, &code),
              "清除所有数据命令已发送，完成后控制器将自动重新启动！\n");
    EXPECT_EQ(code, 0);
    JsonValue c = config(sim, "127.0.0.2");
    EXPECT_EQ(c["clearAlls"].integer(), 1);
    EXPECT_TRUE(c["backup"].isNull());
    EXPECT_TRUE(c["factory"].isNull());
}

TEST(ConfigCli, DetailPrintsTheTextAndWritesDevInfo) {
    RemoteSim sim({}, 0, 2);
    ASSERT_TRUE(sim.sim.waitForLine("ready"));
    const IntegrationHome& h = sim.h;
    // The status line looks for the service by program name; a tavrin of another test running
    // at the same moment must not count.
    ::setenv(kServiceProgramVariable, "quorvane-test-no-service", 1);
    int code = -1;
    const std::string out = h.cli({"detail", "-d", "127.0.0.2", "--file"}, &code);
    ::unsetenv(kServiceProgramVariable);
    EXPECT_EQ(code, 0);
    // The text itself is the detail operation's test; here the service line the command line
    // puts first and the controller it was asked for.
    auto lines = splitLines(out);
    ASSERT_EQ(lines.size(), 42u);
    EXPECT_EQ(lines[0], "服务运行=服务状态：停止");
    EXPECT_NE(lines[2].find("IP地址:127.0.0.2,"), std::string::npos) << lines[2];
    // The file holds the same text in GBK, with its last line break.
    EXPECT_EQ(fromGbk(readFile(h.home + "/devInfo.txt")), out);
}
