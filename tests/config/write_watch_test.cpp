// The pending-reply watch of the two configuration writes, on a fake clock: it speaks once when
// no reply comes within its time, and stays silent when the write's reply disarms it.
#include <gtest/gtest.h>

#include <memory>

#include "config/config_save.h"
#include "config/door_config.h"
#include "fake_clock.h"
#include "integration_home.h"
#include "recording_user_port.h"
#include "session/operation_result.h"
#include "session/tool_session.h"
#include "udp_controller.h"

using namespace quorvane;
using namespace quorvane::test;
using namespace std::chrono_literals;

namespace {

constexpr const char* kSaveWatchText =
    "配置保存失败或者操作返回超时，请重新搜索并检查是否保存成功，或者尝试使用“发送广播消息保存”！";
constexpr const char* kDoorWatchText = "门禁配置保存失败或者操作返回超时！";

DeviceUIInfo controllerAt2() {
    DeviceUIInfo r;
    r.name = "c2";
    r.mac = "00.11.22.33.01.02";
    r.ip = "127.0.0.2";
    r.mask = "255.0.0.0";
    r.searchModes = kFoundByBroadcast;
    return r;
}

struct Write {
    const char* name;
    int (*run)(ToolSession&, const DeviceUIInfo&);
    std::uint8_t command;
    const char* watchText;
    const char* failureNotice;
};

int saveBasic(ToolSession& s, const DeviceUIInfo& r) {
    return SaveConfigImpl(s, r, basicFieldsOf(r), SaveMode::ToDevice, SearchTarget{});
}
int writeDoor(ToolSession& s, const DeviceUIInfo& r) {
    return writeDoorConfig(s, r);
}

const Write kWrites[] = {
    {"BasicSave", saveBasic, 4, kSaveWatchText, "操作失败！"},
    {"DoorWrite", writeDoor, 14, kDoorWatchText, "保存失败！"},
};

class Watch : public ::testing::TestWithParam<Write> {
  protected:
    void SetUp() override {
        session = std::make_unique<ToolSession>(h.home, port, &clock);
        session->log().setEcho(false);
        session->start();
        controller = std::make_unique<UdpController>("127.0.0.2", h.port);
        ASSERT_TRUE(controller->ready());
    }
    void TearDown() override { session->stop(); }
    PendingReplyWatch& watch() { return session->dispatcher().pendingReply; }

    IntegrationHome h;
    FakeClock clock{100ms};
    RecordingUserPort port;
    std::unique_ptr<ToolSession> session;
    std::unique_ptr<UdpController> controller;
};

} // namespace

// The window sends and goes on; its one-second timer polls the watch.
TEST_P(Watch, WithoutAReplyTheWindowsWatchSpeaksOnceAfterFiveSeconds) {
    EXPECT_EQ(GetParam().run(*session, controllerAt2()), kOperationDone);
    ASSERT_EQ(controller->waitForFrames(1).size(), 1u);
    EXPECT_EQ(controller->received()[0].info.command, GetParam().command);
    EXPECT_FALSE(watch().poll());
    clock.advance(4s);
    EXPECT_FALSE(watch().poll()) << "four ticks: still waiting";
    clock.advance(1s);
    EXPECT_EQ(watch().poll(), std::optional<std::string>(GetParam().watchText));
    EXPECT_FALSE(watch().poll()) << "it speaks once";
}

// The command line waits for the reply itself: when its wait runs out, the watch's time has
// run out too, and the text is shown at once.
TEST_P(Watch, AWaitingCallerShowsTheTextWhenItsWaitRunsOut) {
    session->setOneShotLimits(limits::kCommand);
    EXPECT_EQ(GetParam().run(*session, controllerAt2()), kOperationFailed);
    EXPECT_EQ(port.messages(), std::vector<std::string>{GetParam().watchText});
    EXPECT_FALSE(watch().poll());
}

// The reply disarms the watch, whatever its status.
TEST_P(Watch, AWaitingCallerTakesAFailureReplyAsAFailure) {
    session->setOneShotLimits(limits::kCommand);
    controller->setScript([](const SentFrame& f) { return std::vector{replyTo(f, 0)}; });
    EXPECT_EQ(GetParam().run(*session, controllerAt2()), kOperationFailed);
    EXPECT_EQ(port.notices(), std::vector<std::string>{GetParam().failureNotice});
    EXPECT_TRUE(port.messages().empty());
    EXPECT_FALSE(watch().armed());
}

INSTANTIATE_TEST_SUITE_P(Writes, Watch, ::testing::ValuesIn(kWrites),
                         [](const auto& info) { return std::string(info.param.name); });

// A later write re-arms the watch with its own text.
TEST(WatchRearm, TheLaterWritesTextIsTheOneShown) {
    IntegrationHome h;
    FakeClock clock{100ms};
    RecordingUserPort port;
    ToolSession session(h.home, port, &clock);
    session.log().setEcho(false);
    session.start();
    UdpController controller("127.0.0.2", h.port);
    ASSERT_TRUE(controller.ready());
    EXPECT_EQ(saveBasic(session, controllerAt2()), kOperationDone);
    clock.advance(3s);
    EXPECT_EQ(writeDoor(session, controllerAt2()), kOperationDone);
    clock.advance(3s);
    EXPECT_FALSE(session.dispatcher().pendingReply.poll());
    clock.advance(2s);
    EXPECT_EQ(session.dispatcher().pendingReply.poll(), std::optional<std::string>(kDoorWatchText));
    session.stop();
}
