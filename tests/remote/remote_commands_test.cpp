#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <thread>

#include "fake_clock.h"
#include "integration_home.h"
#include "protocol/reply_dispatch.h"
#include "recording_user_port.h"
#include "remote/remote_commands.h"
#include "sample_frames.h"
#include "session/device_command.h"
#include "session/tool_session.h"
#include "udp_controller.h"

using namespace quorvane;
using namespace quorvane::test;
using namespace std::chrono_literals;

namespace {

using Command = int (*)(ToolSession&, const std::optional<DeviceUIInfo>&);

// Local time, a Tuesday.
std::chrono::system_clock::time_point tuesdayAfternoon() {
    std::tm t{};
    ::strptime("2024-03-05 14:07:09", "%Y-%m-%d %H:%M:%S", &t);
    t.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&t));
}

// The controller the tests talk to: target id 0x0309 at 127.0.0.2.
DeviceUIInfo playedRecord() {
    DeviceUIInfo r = sampleDevice(4);
    r.groupNo = 3;
    r.deviceNo = 9;
    r.ip = "127.0.0.2";
    r.searchModes = kFoundByBroadcast;
    return r;
}

UdpController::Script answering(std::uint8_t status = 1, const char* payload = "") {
    return [=](const SentFrame& f) { return std::vector{replyTo(f, status, unhex(payload))}; };
}

// A started session whose commands wait for their reply, as the command line's do.
struct Remote : ::testing::Test {
    Remote() : session(h.home, port, &clock) {
        session.start();
        session.log().setEcho(false);
        session.setOneShotLimits(limits::kCommand);
    }
    ~Remote() override { session.stop(); }

    UdpController& play(UdpController::Script script = {}, const char* address = "127.0.0.2") {
        controller.emplace(address, h.port, std::move(script));
        EXPECT_TRUE(controller->ready());
        return *controller;
    }

    IntegrationHome h;
    FakeClock clock{50ms, tuesdayAfternoon()};
    RecordingUserPort port;
    ToolSession session;
    std::optional<UdpController> controller;
};

} // namespace

// Status 1 with a payload too short to hold a time once counted as read.
TEST_F(Remote, AClockReadFailsOnAFailureReplyOrOneTooShortForATime) {
    play(answering(0, "24 12 31 23 59 58 02"));
    EXPECT_EQ(readTime(session, playedRecord()), -1);
    controller->setScript(answering(1, "24 12 31"));
    EXPECT_EQ(readTime(session, playedRecord()), -1);
    EXPECT_EQ(port.notices(), (std::vector<std::string>{"操作失败！", "操作失败！"}));
}

namespace {

// The window's way: sent without a wait, the reply shown when it comes, and the pending-reply
// watch (polled on the window's timer) saying so once when none comes within a command's wait.
// A clock read sends on its own; the other commands through one path, which the open door takes.
class WindowOneShots : public Remote, public ::testing::WithParamInterface<Command> {};

} // namespace

TEST_P(WindowOneShots, SaySoWhenNoReplyComes) {
    session.setOneShotLimits(limits::kSendOnly);
    PendingReplyWatch& watch = session.dispatcher().pendingReply;
    play();
    EXPECT_EQ(GetParam()(session, playedRecord()), 0);
    clock.advance(4s);
    EXPECT_EQ(watch.poll(), std::nullopt);
    clock.advance(1s);
    EXPECT_EQ(watch.poll(), std::optional<std::string>(kSilentDeviceText));
    EXPECT_EQ(watch.poll(), std::nullopt);
    controller->setScript(answering(1, "010101"));
    EXPECT_EQ(GetParam()(session, playedRecord()), 0);
    for (int i = 0; i < 200 && watch.armed(); ++i) // the reply is on its way
        std::this_thread::sleep_for(5ms);
    EXPECT_FALSE(watch.armed());
}

INSTANTIATE_TEST_SUITE_P(
    Remote, WindowOneShots,
    ::testing::Values([](ToolSession& s, const auto& r) { return openDoor(s, r, 0, 3000); },
                      [](ToolSession& s, const auto& r) { return readTime(s, r); }));

namespace {

struct CommandCase {
    const char* name;
    Command run;
    const char* noSelection; // shown without a record
    std::uint8_t command;
    const char* payload; // hexadecimal
    const char* reply;   // its payload in hexadecimal; nullptr: the controller stays silent
    std::vector<std::string> said;
    const char* question = ""; // asked first, or empty
};

class Commands : public Remote, public ::testing::WithParamInterface<CommandCase> {};

constexpr const char* kNoRecord = "请选择要操作的记录！";
constexpr const char* kNoDevice = "请选择要操作的设备！";

} // namespace

// Without a record: its message and no frame. With a question: No sends nothing, Yes the frame.
TEST_P(Commands, SelectedRecordQuestionFrameAndNotice) {
    const CommandCase& c = GetParam();
    play(c.reply ? answering(1, c.reply) : UdpController::Script{});
    EXPECT_EQ(c.run(session, std::nullopt), -1);
    EXPECT_EQ(port.messages(), std::vector<std::string>{c.noSelection});
    if (*c.question) {
        EXPECT_EQ(c.run(session, playedRecord()), kDeclined);
        port.answer(Answer::Yes);
    }
    EXPECT_EQ(c.run(session, playedRecord()), 0);
    EXPECT_EQ(port.questions(),
              *c.question ? std::vector<std::string>(2, c.question) : std::vector<std::string>{});
    const auto frames = controller->waitForFrames(1); // a restart does not wait for its frame
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].info.command, c.command);
    EXPECT_EQ(frames[0].info.target, 0x0309);
    EXPECT_EQ(hex(frames[0].payload()), hex(unhex(c.payload)));
    std::vector<std::string> said = port.notices();
    const auto messages = port.messages();
    said.insert(said.end(), messages.begin() + 1, messages.end());
    EXPECT_EQ(said, c.said);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Remote, Commands, ::testing::Values(
    CommandCase{"OpenDoor2ThreeSeconds",
                [](ToolSession& s, const auto& r) { return openDoor(s, r, 1, 3000); },
                kNoRecord, 16, "02012C", "", {"操作成功！"}},
    CommandCase{"ReadTime", [](ToolSession& s, const auto& r) { return readTime(s, r); }, kNoDevice,
                40, "", "24 12 31 23 59 58 02", {"操作成功，设备时间为=2024-12-31 23:59:58"}},
    // BCD, the weekday last (2: Tuesday).
    CommandCase{"SetTime", setTime, kNoDevice, 38, "24030514070902", "", {"操作成功！"}},
    // The controller restarts instead of answering: the command once timed out and the command
    // line exited 1 although the controller restarted. The restart's reply is not reported.
    CommandCase{"Restart", resetDevice, kNoDevice, 66, "", nullptr, {"重启设备命令已发送！"},
                "确定要重新启动设备？"},
    CommandCase{"ClearLog", clearLog, kNoRecord, 64, "", "", {"操作成功！"},
                "确定要清除控制器上所有日志记录吗？此操作需要几分钟到几十分钟，"
                "日志清除后控制器将自动重新启动！"},
    CommandCase{"SelfTestFlagWordLittleEndian",
                [](ToolSession& s, const auto& r) { return selfTest(s, r, 0x08000010); },
                kNoRecord, 243, "10000008", "02", {"自测操作成功！返回码：2"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Remote, AnOpenTimeTheValueCannotCarryIsRefusedAndNothingIsSent) {
    play();
    // 655360 ms would wrap to 0; 655351 would be sent as 655350.
    for (long ms : {655351L, 655360L, -1L}) {
        EXPECT_EQ(openDoor(session, playedRecord(), 0, ms), -1) << ms;
        EXPECT_EQ(openDoorAll(session, playedRecord(), 0, ms), -1) << ms;
        // The command line's open-all sends without the question.
        EXPECT_EQ(sendOpenAll(session, session.channel().searchTarget(), 0xFFFF, 0, ms), -1);
    }
    EXPECT_EQ(port.messages(), std::vector<std::string>(9, kOpenTimeRangeText));
    EXPECT_TRUE(controller->waitForFrames(1, 100ms).empty());
}

// Answered No, the broadcast carries the id every controller answers to, even with a device
// selected; Yes carries the selected device's id; Cancel, or Yes without a record, sends
// nothing.
TEST_F(Remote, OpenAllNoCarriesTheIdOfEveryControllerYesTheSelectedOne) {
    // Bound to every address: receives the broadcast to 127.255.255.255.
    UdpController& everyone = play(answering(), "0.0.0.0");
    session.channel().applyMulticastMode(false, {});
    for (Answer a : {Answer::No, Answer::Yes}) {
        port.answer(a);
        EXPECT_EQ(openDoorAll(session, playedRecord(), 1, 3000), 0);
        const SentFrame f = everyone.received().back();
        EXPECT_EQ(f.info.target, a == Answer::No ? 0xFFFF : 0x0309);
        EXPECT_EQ(hex(f.bytes.substr(28)), hex(unhex("10 00 0003 02012C 42")));
    }
    EXPECT_EQ(port.questions().size(), 2u);
    port.answer(Answer::Cancel);
    EXPECT_EQ(openDoorAll(session, playedRecord(), 0, 500), kDeclined);
    port.answer(Answer::Yes);
    EXPECT_EQ(openDoorAll(session, std::nullopt, 0, 500), -1);
    EXPECT_EQ(port.messages(), std::vector<std::string>{"请选择要操作的记录！"});
    EXPECT_TRUE(everyone.waitForFrames(3, 100ms).size() == 2u);
}
