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
        W{"search", "--iface", "eth0"}, W{"search", "--iface", ""},
        W{"search", "--iface", "127.0.0.1x"}, W{"search", "--mcast", "--iface"},
        W{"search", "--to", "host"}, W{"search", "--port", "0"}, W{"time", "get"},
        W{"time", "get", "-d", "controller-3"},
        W{"save", "-d", "127.0.0.2", "--mac", "00:11:22:33:44:55"},
        W{"save", "-d", "127.0.0.2", "--ip", "300.1.1.1"},
        W{"save", "-d", "127.0.0.2", "--host-port", "70000"},
        W{"save", "-d", "127.0.0.2", "--report-mode", "3"},
        W{"save", "-d", "127.0.0.2", "--name", "一二三四五六七八"},
        W{"save", "-d", "127.0.0.2", "--broadcast", "--broadcast-all"},
        W{"door-config", "-d", "127.0.0.2", "--show", "--backup", "f"},
        W{"copy-config", "--from", "127.0.0.1"}, W{"open", "-d", "127.0.0.2", "--ms", "500"},
        W{"open", "-d", "127.0.0.2", "--door", "165", "--ms", "500"},
        W{"open", "-d", "127.0.0.2", "--door", "1", "--ms", "5", "--state", "on"},
        W{"open", "-d", "127.0.0.2", "--door", "1", "--state", "closed"},
        W{"open", "-d", "127.0.0.2", "--door", "1", "--ms", "-5"}, W{"open-all", "--door", "2"},
        W{"self-test", "-d", "127.0.0.2", "--flags", "4294967296"},
        W{"self-test", "-d", "127.0.0.2", "--flags", "12x"}, W{"rights", "get", "-d", "127.0.0.2"},
        W{"service", "restart"}, W{"service", "status", "extra"}));

TEST(DeviceSelection, ASilentDeviceGetsOneRefreshFrameThenTheTimeoutText) {
    IntegrationHome h;
    UdpController silent("127.0.0.2", h.port);
    ASSERT_TRUE(silent.ready());
    int code = -1;
    EXPECT_EQ(
        h.cli({"time", "get", "-d", "127.0.0.2"}, &code),
        "设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本地的数据。\n");
    EXPECT_EQ(code, 1);
    // Command 2 to any id, no operation password, the first sequence number of the run.
    ASSERT_EQ(silent.waitForFrames(1).size(), 1u);
    EXPECT_EQ(hex(silent.frame(0)), hex(unhex("55555555555555555555555555555555"
                                              "FFFF"
                                              "FFFFFFFFFFFF"
                                              "FFFF"
                                              "0100"
                                              "02"
                                              "00"
                                              "0000"
                                              "02")));
    EXPECT_EQ(silent.waitForFrames(2, std::chrono::milliseconds(100)).size(), 1u)
        << "a refresh that timed out sends nothing more";
}

TEST(DeviceSelection, TheCommandGoesToTheIdTheRefreshReplyNames) {
    IntegrationHome h;
    DeviceUIInfo record = sampleDevice(4);
    record.groupNo = 3;
    record.deviceNo = 9;
    record.ip = "127.0.0.2"; // later commands go where the controller says it is
    // The refresh is answered with the record; the controller refuses what comes next.
    UdpController controller("127.0.0.2", h.port, [&](const SentFrame& f) {
        return std::vector{f.info.command == 2 ? deviceInformation(f, record) : replyTo(f, 0)};
    });
    ASSERT_TRUE(controller.ready());
    int code = -1;
    EXPECT_EQ(h.cli({"--op-password", "", "time", "get", "-d", "127.0.0.2"}, &code),
              "操作失败！\n");
    EXPECT_EQ(code, 1);
    const auto frames = controller.waitForFrames(2);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].info.command, 40);
    EXPECT_EQ(frames[1].info.target, 0x0309);
    EXPECT_EQ(frames[1].info.sequence, 2);
    EXPECT_EQ(frames[1].bytes.size(), 33u);
}

// A record (or a forged reply) naming another address once sent the command there.
TEST(DeviceSelection, ARecordNamingAnotherAddressIsReportedAndTheGivenOneIsUsed) {
    IntegrationHome h;
    DeviceUIInfo record = sampleDevice(4);
    record.ip = "127.0.0.3";
    UdpController controller("127.0.0.2", h.port, [&](const SentFrame& f) {
        return std::vector{f.info.command == 2 ? deviceInformation(f, record) : replyTo(f, 0)};
    });
    ASSERT_TRUE(controller.ready());
    std::string err;
    h.cli({"--op-password", "", "time", "get", "-d", "127.0.0.2"}, nullptr, &err);
    EXPECT_NE(err.find("127.0.0.2 names 127.0.0.3"), std::string::npos) << err;
    EXPECT_EQ(controller.waitForFrames(2).size(), 2u);
}

namespace {

struct OpenWords {
    std::vector<std::string> words;
    const char* payload; // door, then the time value (milliseconds / 10), big-endian
};

class OpenCommand : public ::testing::TestWithParam<OpenWords> {};

} // namespace

// The relay menu's items as the command line names them.
TEST_P(OpenCommand, WordsBecomeTheirPayload) {
    IntegrationHome h;
    DeviceUIInfo record = sampleDevice(2);
    record.ip = "127.0.0.2";
    UdpController controller("127.0.0.2", h.port, [&](const SentFrame& f) {
        return std::vector{f.info.command == 2 ? deviceInformation(f, record) : replyTo(f)};
    });
    ASSERT_TRUE(controller.ready());
    std::vector<std::string> words = {"open", "-d", "127.0.0.2"};
    words.insert(words.end(), GetParam().words.begin(), GetParam().words.end());
    int code = -1;
    EXPECT_EQ(h.cli(words, &code), "操作成功！\n");
    EXPECT_EQ(code, 0);
    const auto frames = controller.waitForFrames(2);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].info.command, 16);
    EXPECT_EQ(hex(frames[1].payload()), hex(unhex(GetParam().payload)));
}

INSTANTIATE_TEST_SUITE_P(Cli, OpenCommand,
                         ::testing::Values(OpenWords{{"--door", "2", "--ms", "3000"}, "02012C"},
                                           OpenWords{{"--door", "1", "--state", "auto"}, "01FDE9"},
                                           OpenWords{{"--door", "1", "--state", "release"},
                                                     "01FDEA"},
                                           OpenWords{{"--door", "1", "--state", "hold"}, "01FDEB"},
                                           OpenWords{{"--door", "1", "--state", "on"}, "01FDEC"},
                                           OpenWords{{"--door", "4", "--state", "off"}, "04FDED"}));
