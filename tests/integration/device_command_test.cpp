// Commands that choose one device with -d IP: the refresh frame, the reply that names the
// device, and the engine under two threads, over real loopback sockets.
#include <gtest/gtest.h>

#include <future>
#include <regex>
#include <thread>

#include "fake_controller.h"
#include "integration_home.h"
#include "protocol/frame.h"
#include "recording_user_port.h"
#include "sample_frames.h"
#include "session/tool_session.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

constexpr const char* kTimeoutText =
    "设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本地的数据。\n";

} // namespace

TEST(DeviceCommand, ASilentDeviceGetsOneRefreshFrameThenTheTimeoutText) {
    IntegrationHome h;
    FakeController silent("127.0.0.2", h.port);
    ASSERT_TRUE(silent.ok());
    int code = -1;
    EXPECT_EQ(h.cli({"time", "get", "-d", "127.0.0.2"}, &code), kTimeoutText);
    EXPECT_EQ(code, 1);
    ASSERT_TRUE(silent.waitFrames(1));
    // Command 2 to any id, no operation password, the first sequence number of the run.
    EXPECT_EQ(hex(silent.frames()[0]), hex(unhex("55555555555555555555555555555555"
                                                 "FFFF"
                                                 "FFFFFFFFFFFF"
                                                 "FFFF"
                                                 "0100"
                                                 "02"
                                                 "00"
                                                 "0000"
                                                 "02")));
    EXPECT_FALSE(silent.waitFrames(2, std::chrono::milliseconds(100)))
        << "a refresh that timed out sends nothing more";
}

TEST(DeviceCommand, EachSendHasItsOwnSequenceNumberAndTheRecordsTargetId) {
    IntegrationHome h;
    DeviceUIInfo record = sampleDevice(4);
    record.groupNo = 3;
    record.deviceNo = 9;
    record.ip = "127.0.0.2"; // later commands go where the controller says it is
    // The refresh is answered with the record; the controller refuses what comes next.
    FakeController controller("127.0.0.2", h.port, [&](const std::string& request) {
        if (inspectFrame(asBytes(request)).command == 2)
            return std::vector<std::string>{deviceInformation(request, record)};
        return std::vector<std::string>{answer(request, 0)};
    });
    ASSERT_TRUE(controller.ok());
    int code = -1;
    EXPECT_EQ(h.cli({"--op-password", "", "time", "get", "-d", "127.0.0.2"}, &code),
              "操作失败！\n");
    EXPECT_EQ(code, 1);
    ASSERT_TRUE(controller.waitFrames(2));
    const std::string readTime = controller.frames()[1];
    FrameInfo info = inspectFrame(asBytes(readTime));
    EXPECT_EQ(info.command, 40);
    EXPECT_EQ(info.target, 0x0309);
    EXPECT_EQ(info.sequence, 2);
    EXPECT_EQ(readTime.size(), 33u);
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
