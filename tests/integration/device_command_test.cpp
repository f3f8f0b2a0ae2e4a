// Commands that choose one device with -d IP: the refresh frame, the reply that names the
// device, and the engine under two threads, over real loopback sockets.
#include <gtest/gtest.h>

#include <future>
#include <regex>
#include <thread>

#include "integration_home.h"
#include "platform/udp_socket.h"
#include "protocol/frame.h"
#include "recording_user_port.h"
#include "sample_frames.h"
#include "session/tool_session.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

constexpr const char* kTimeoutText =
    "设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本地的数据。\n";

// A controller played by the test at one loopback address: what it receives, and an answer
// of the test's choosing.
struct FakeController {
    FakeController(const char* address, int port) {
        sock.open();
        ok = sock.bind(*platform::parseIpv4(address), static_cast<std::uint16_t>(port));
    }
    std::optional<std::string> receive(platform::Ipv4Endpoint& from, int ms = 10000) {
        if (sock.waitReadable(nullptr, ms) != platform::UdpSocket::Wait::Readable)
            return std::nullopt;
        std::vector<std::uint8_t> buf(2048);
        int n = sock.receiveFrom(buf, from);
        if (n < 0)
            return std::nullopt;
        return std::string(buf.begin(), buf.begin() + n);
    }
    platform::UdpSocket sock;
    bool ok = false;
};

ChildProcess startSim(int port, std::vector<std::string> extra = {}) {
    std::vector<std::string> argv = {simPath(), "--port", std::to_string(port)};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return ChildProcess(argv);
}

} // namespace

TEST(DeviceCommand, ASilentDeviceGetsOneRefreshFrameThenTheTimeoutText) {
    IntegrationHome h;
    FakeController silent("127.0.0.2", h.port);
    ASSERT_TRUE(silent.ok);
    int code = -1;
    auto cli = std::async(std::launch::async, [&] {
        return h.cli({"time", "get", "-d", "127.0.0.2"}, &code);
    });
    platform::Ipv4Endpoint from;
    auto frame = silent.receive(from);
    ASSERT_TRUE(frame);
    // Command 2 to any id, no operation password, the first sequence number of the run.
    EXPECT_EQ(hex(*frame), hex(unhex("55555555555555555555555555555555"
                                     "FFFF"
                                     "FFFFFFFFFFFF"
                                     "FFFF"
                                     "0100"
                                     "02"
                                     "00"
                                     "0000"
                                     "02")));
    EXPECT_EQ(cli.get(), kTimeoutText);
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(silent.receive(from, 100)) << "a refresh that timed out sends nothing more";
}

TEST(DeviceCommand, EachSendHasItsOwnSequenceNumberAndTheRecordsTargetId) {
    IntegrationHome h;
    FakeController controller("127.0.0.2", h.port);
    ASSERT_TRUE(controller.ok);
    int code = -1;
    auto cli = std::async(std::launch::async, [&] {
        return h.cli({"--op-password", "", "time", "get", "-d", "127.0.0.2"}, &code);
    });
    platform::Ipv4Endpoint from;
    auto refresh = controller.receive(from);
    ASSERT_TRUE(refresh);
    DeviceUIInfo record = sampleDevice(4);
    record.groupNo = 3;
    record.deviceNo = 9;
    record.ip = "127.0.0.2"; // later commands go where the controller says it is
    std::string reply = deviceInfoReply(record, false);
    reply[26] = (*refresh)[26]; // the controller echoes the request's sequence number
    reply[27] = (*refresh)[27];
    controller.sock.sendTo(asBytes(reply), from);

    auto readTime = controller.receive(from);
    ASSERT_TRUE(readTime);
    FrameInfo info = inspectFrame(asBytes(*readTime));
    EXPECT_EQ(info.command, 40);
    EXPECT_EQ(info.target, 0x0309);
    EXPECT_EQ(info.sequence, 2);
    EXPECT_EQ(readTime->size(), 33u);
    // The controller refuses: its failure text, and the command fails.
    std::string refused = deviceInfoReply(record, false).substr(0, 33);
    refused[26] = (*readTime)[26];
    refused[27] = (*readTime)[27];
    refused[28] = 41;
    refused[29] = 0;
    refused[30] = refused[31] = 0;
    refused[32] = 41;
    controller.sock.sendTo(asBytes(refused), from);
    EXPECT_EQ(cli.get(), "操作失败！\n");
    EXPECT_EQ(code, 1);
}

TEST(DeviceCommand, TimeGetAgainstTheSimulatorPrintsTheDeviceTime) {
    IntegrationHome h;
    ChildProcess sim = startSim(h.port, {"--count", "3"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    int code = -1;
    std::string out = h.cli({"time", "get", "-d", "127.0.0.3"}, &code);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(std::regex_match(
        out, std::regex(
                 "操作成功，设备时间为=20[0-9]{2}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\n")))
        << out;

    h.cli({"time", "get"}, &code);
    EXPECT_EQ(code, 2);
    h.cli({"time", "get", "-d", "controller-3"}, &code);
    EXPECT_EQ(code, 2);
}

// Two operations on two threads, each with its own target: every reply reaches the exchange
// that asked for it, never the other.
TEST(DeviceCommand, TwoThreadsRefreshingTwoControllersEachGetTheirOwn) {
    IntegrationHome h;
    ChildProcess sim = startSim(h.port, {"--count", "3"});
    ASSERT_TRUE(sim.waitForLine("ready"));
    RecordingUserPort port;
    ToolSession session(h.home, port);
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
