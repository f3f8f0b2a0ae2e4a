// The pending-reply watch of the two configuration writes, on a fake clock: it speaks once when
// no reply comes within its time, and stays silent when the write's reply disarms it.
#include <gtest/gtest.h>

#include "config/config_save.h"
#include "config/door_config.h"
#include "loopback_session.h"
#include "session/operation_result.h"

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
    {"BasicSave", saveBasic, kSaveWatchText, "操作失败！"},
    {"DoorWrite", writeDoor, kDoorWatchText, "保存失败！"},
};

class Watch : public ::testing::TestWithParam<Write> {
  protected:
    PendingReplyWatch& watch() { return t.s().dispatcher().pendingReply; }
    LoopbackSession t{"write-watch", 0};
};

} // namespace

// The command line waits for the reply itself: when its wait runs out, the watch's time has
// run out too, and the text is shown at once.
TEST_P(Watch, AWaitingCallerShowsTheTextWhenItsWaitRunsOut) {
    t.s().setOneShotLimits(limits::kCommand);
    EXPECT_EQ(GetParam().run(t.s(), controllerAt2()), kOperationFailed);
    EXPECT_EQ(t.user.messages(), std::vector<std::string>{GetParam().watchText});
    EXPECT_FALSE(watch().poll());
}

// The reply disarms the watch, whatever its status.
TEST_P(Watch, AWaitingCallerTakesAFailureReplyAsAFailure) {
    t.s().setOneShotLimits(limits::kCommand);
    t.controller.setScript([](const SentFrame& f) { return std::vector{replyTo(f, 0)}; });
    EXPECT_EQ(GetParam().run(t.s(), controllerAt2()), kOperationFailed);
    EXPECT_EQ(t.user.notices(), std::vector<std::string>{GetParam().failureNotice});
    EXPECT_TRUE(t.user.messages().empty());
    EXPECT_FALSE(watch().armed());
}

INSTANTIATE_TEST_SUITE_P(Writes, Watch, ::testing::ValuesIn(kWrites),
                         [](const auto& info) { return std::string(info.param.name); });

// The window sends and goes on; its one-second timer polls the watch, which speaks once, five
// seconds after the latest write, with that write's text.
TEST(WatchRearm, TheLaterWritesTextIsTheOneShownFiveSecondsAfterIt) {
    LoopbackSession t{"write-watch", 0};
    EXPECT_EQ(saveBasic(t.s(), controllerAt2()), kOperationDone);
    t.clock.advance(3s);
    EXPECT_EQ(writeDoor(t.s(), controllerAt2()), kOperationDone);
    EXPECT_EQ(t.controller.waitForFrames(2).size(), 2u);
    PendingReplyWatch& watch = t.s().dispatcher().pendingReply;
    t.clock.advance(4s);
    EXPECT_FALSE(watch.poll());
    t.clock.advance(1s);
    EXPECT_EQ(watch.poll(), std::optional<std::string>(kDoorWatchText));
    EXPECT_FALSE(watch.poll()) << "it speaks once";
}
