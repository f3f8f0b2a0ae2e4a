// The device commands' own surface: the words each refuses before anything is sent, and -d IP,
// which refreshes the controller at that address and then addresses it by the id its reply
// names, against a controller played by the test on loopback.
#include <gtest/gtest.h>

#include "integration_home.h"
#include "sample_frames.h"
#include "udp_controller.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

class UsageErrors : public ::testing::TestWithParam<std::vector<std::string>> {};

} // namespace

// Exit 2, the reason on standard error only, nothing sent and nothing written to the settings.
TEST_P(UsageErrors, ComeBeforeAnythingIsSent) {
    IntegrationHome h;
    UdpController anyone("0.0.0.0", h.port);
    ASSERT_TRUE(anyone.ready());
    const std::string settings = readFile(h.home + "/config.ini");
    int code = -1;
    EXPECT_EQ(h.cli(GetParam(), &code), "");
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(anyone.waitForFrames(1, std::chrono::milliseconds(50)).empty());
    EXPECT_EQ(readFile(h.home + "/config.ini"), settings);
}

using W = std::vector<std::string>;
INSTANTIATE_TEST_SUITE_P(
    Cli, UsageErrors,
    ::testing::Values(
        W{"search", "--iface", "eth0"}, W{"search", "--to", "host"}, W{"search", "--port", "0"},
        W{"time", "get"}, W{"time", "get", "-d", "controller-3"},
        W{"save", "-d", "127.0.0.2", "--mac", "00:11:22:33:44:55"},
        W{"save", "-d", "127.0.0.2", "--ip", "300.1.1.1"},
        W{"save", "-d", "127.0.0.2", "--name", "一二三四五六七八"},
        W{"save", "-d", "127.0.0.2", "--broadcast", "--broadcast-all"},
        W{"door-config", "-d", "127.0.0.2", "--show", "--backup", "f"},
        W{"copy-config", "--from", "127.0.0.1"}, W{"open", "-d", "127.0.0.2", "--ms", "500"},
        W{"open", "-d", "127.0.0.2", "--door", "165", "--ms", "500"},
        W{"open", "-d", "127.0.0.2", "--door", "1", "--ms", "5", "--state", "on"},
        W{"open", "-d", "127.0.0.2", "--door", "1", "--state", "closed"},
        W{"open-all", "--door", "2"}, W{"self-test", "-d", "127.0.0.2", "--flags", "4294967296"},
        W{"rights", "get", "-d", "127.0.0.2"}, W{"service", "restart"}));

TEST(DeviceSelection, ASilentDeviceGetsOneRefreshFrameThenTheTimeoutText) {
    IntegrationHome h;
    UdpController silent("127.0.0.2", h.port);
    ASSERT_TRUE(silent.ready());
    int code = -1;
    EXPECT_EQ(
        h.cli({"time", "get", "-d", "127.0.0.2"}, &code),
        "设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本地的数据。\n");
    EXPECT_EQ(code, 1);
    ASSERT_EQ(silent.waitForFrames(1).size(), 1u);
    EXPECT_EQ(silent.waitForFrames(2, std::chrono::milliseconds(100)).size(), 1u)
        << "a refresh that timed out sends nothing more";
}

// The command goes to the id the refresh reply names, at the address given: a record (or a
// forged reply) naming another address once sent the command there; that is now reported.
TEST(DeviceSelection, TheCommandGoesToTheIdTheRefreshReplyNamesAtTheAddressGiven) {
    for (const std::string named : {"127.0.0.2", "127.0.0.3"}) {
        IntegrationHome h;
        DeviceUIInfo record = sampleDevice(4);
        record.groupNo = 3;
        record.deviceNo = 9;
        record.ip = named;
        // The refresh is answered with the record; the controller refuses what comes next.
        UdpController controller("127.0.0.2", h.port, [&](const SentFrame& f) {
            return std::vector{f.info.command == 2 ? deviceInformation(f, record) : replyTo(f, 0)};
        });
        ASSERT_TRUE(controller.ready());
        int code = -1;
        std::string err;
        EXPECT_EQ(h.cli({"--op-password", "", "time", "get", "-d", "127.0.0.2"}, &code, &err),
                  "操作失败！\n");
        EXPECT_EQ(code, 1);
        EXPECT_EQ(err.find("127.0.0.2 names 127.0.0.3") != std::string::npos, named != "127.0.0.2")
            << err;
        const auto frames = controller.waitForFrames(2);
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[1].info.command, 40);
        EXPECT_EQ(frames[1].info.target, 0x0309);
    }
}

namespace {

struct CommandWords {
    const char* name;
    std::vector<std::string> words;
    int code;
    std::string out;
    std::uint8_t command;
    const char* payload;      // hexadecimal; none: the clock, not checked here
    std::string reply = "\1"; // the reply's status byte, then its payload
};

class RemoteCommand : public ::testing::TestWithParam<CommandWords> {};

} // namespace

// The remote commands' words, each one run: the frame they become, then the reply's text and
// the exit code. What each operation sends and shows is its own test in the core.
TEST_P(RemoteCommand, WordsBecomeTheirFrameAndTheReplyTheTextAndExit) {
    const CommandWords& c = GetParam();
    IntegrationHome h;
    DeviceUIInfo record = sampleDevice(2);
    record.ip = "127.0.0.2";
    const UdpController::Script script = [&](const SentFrame& f) {
        return std::vector{f.info.command == 2 ? deviceInformation(f, record)
                                               : replyTo(f, static_cast<std::uint8_t>(c.reply[0]),
                                                         c.reply.substr(1))};
    };
    // The open-all broadcast goes to the search address, where a second one listens.
    UdpController controller("127.0.0.2", h.port, script), all("127.255.255.255", h.port, script);
    ASSERT_TRUE(controller.ready() && all.ready());
    int code = -1;
    EXPECT_EQ(h.cli(c.words, &code), c.out);
    EXPECT_EQ(code, c.code);
    const bool toAll = c.words[c.words[0] == "--yes" ? 1 : 0] == "open-all";
    // After the refresh of -d, unless the command is broadcast.
    const std::size_t n = toAll ? 1 : 2;
    const auto frames = (toAll ? all : controller).waitForFrames(n);
    ASSERT_EQ(frames.size(), n);
    EXPECT_EQ(frames.back().info.command, c.command);
    if (c.payload) {
        EXPECT_EQ(hex(frames.back().payload()), hex(unhex(c.payload)));
    }
}

const std::string kOkText = "操作成功！\n";
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cli, RemoteCommand, ::testing::Values(
    CommandWords{"OpenForAnOpenTime", W{"open", "-d", "127.0.0.2", "--door", "2", "--ms", "3000"}, 0, kOkText, 16, "02012C"},
    CommandWords{"OpenAuto", W{"open", "-d", "127.0.0.2", "--door", "1", "--state", "auto"}, 0, kOkText, 16, "01FDE9"},
    CommandWords{"OpenOff", W{"open", "-d", "127.0.0.2", "--door", "4", "--state", "off"}, 0, kOkText, 16, "04FDED"},
    CommandWords{"OpenAll", W{"--yes", "open-all", "--door", "4", "--ms", "30000"}, 0, kOkText, 16, "040BB8"},
    CommandWords{"OpenAllOfOne", W{"--yes", "open-all", "-d", "127.0.0.2", "--door", "1", "--ms", "500"}, 0, kOkText, 16, "010032"},
    CommandWords{"TimeSet", W{"time", "set", "-d", "127.0.0.2"}, 0, kOkText, 38, nullptr},
    CommandWords{"Reset", W{"--yes", "reset", "-d", "127.0.0.2"}, 0, "重启设备命令已发送！\n", 66, ""},
    CommandWords{"ClearLog", W{"--yes", "clear-log", "-d", "127.0.0.2"}, 0, kOkText, 64, ""},
    CommandWords{"SelfTestHexFlags", W{"self-test", "-d", "127.0.0.2", "--flags", "0x08000010"}, 1, "自测操作失败！返回码：4\n", 243, "10000008", std::string("\0\4", 2)},
    CommandWords{"SelfTestDecimalFlags", W{"self-test", "-d", "127.0.0.2", "--flags", "134217736"}, 0, "自测操作成功！返回码：2\n", 243, "08000008", "\1\2"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on
