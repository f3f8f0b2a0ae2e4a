// The configuration commands of quorvane-cli against quorvane-sim over loopback, in one round:
// what each prints, its exit code, and what the simulated controllers keep afterwards. What the
// blocks and texts hold is the core's to test; here the words reach the right operation.
#include <gtest/gtest.h>

#include "remote_sim.h"

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
