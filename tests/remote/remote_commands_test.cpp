// The one-shot remote commands against a controller played by the test on loopback, on a fake
// clock: each frame byte for byte, the questions asked before it, and what the person reads of
// the reply.
#include <gtest/gtest.h>

#include <functional>
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

// 2024-03-05 14:07:09 local time, a Tuesday.
std::chrono::system_clock::time_point tuesdayAfternoon() {
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 7;
    t.tm_sec = 9;
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

// A started session whose commands wait for their reply, as the command line's do.
struct Remote : ::testing::Test {
    Remote() : session(h.home, port, &clock) {
        session.start();
        session.log().setEcho(false);
        session.setOneShotLimits(limits::kCommand);
    }
    ~Remote() override { session.stop(); }

    IntegrationHome h;
    FakeClock clock{50ms, tuesdayAfternoon()};
    RecordingUserPort port;
    ToolSession session;
};

} // namespace

TEST_F(Remote, SetTimeSendsTheLocalTimeInBcdWithTheWeekday) {
    UdpController controller("127.0.0.2", h.port,
                             [](const SentFrame& f) { return std::vector{replyTo(f)}; });
    ASSERT_TRUE(controller.ready());
    EXPECT_EQ(setTime(session, playedRecord()), 0);
    ASSERT_EQ(controller.received().size(), 1u);
    EXPECT_EQ(hex(controller.frame(0)), hex(unhex("55555555555555555555555555555555"
                                                  "FFFF"
                                                  "FFFFFFFFFFFF"
                                                  "0309" // target id
                                                  "0100" // the session's first sequence number
                                                  "26"   // 38
                                                  "00"
                                                  "0007"
                                                  "24030514070902"
                                                  "7F"))); // sum of bytes 28..38
    EXPECT_EQ(port.notices(), std::vector<std::string>{"操作成功！"});
}

TEST_F(Remote, ReadTimeShowsTheRepliedTimeAndAFailureSaysSo) {
    UdpController controller("127.0.0.2", h.port, [](const SentFrame& f) {
        return std::vector{replyTo(f, 1, unhex("24 12 31 23 59 58 02"))};
    });
    ASSERT_TRUE(controller.ready());
    EXPECT_EQ(readTime(session, playedRecord()), 0);
    controller.setScript([](const SentFrame& f) {
        return std::vector{replyTo(f, 0, unhex("24 12 31 23 59 58 02"))};
    });
    EXPECT_EQ(readTime(session, playedRecord()), -1);
    // Status 1 with a payload too short to hold a time once counted as read.
    controller.setScript(
        [](const SentFrame& f) { return std::vector{replyTo(f, 1, unhex("24 12 31"))}; });
    EXPECT_EQ(readTime(session, playedRecord()), -1);
    for (const SentFrame& f : controller.received()) {
        EXPECT_EQ(f.bytes.size(), 33u);
        EXPECT_EQ(f.info.command, 40);
    }
    EXPECT_EQ(port.notices(), (std::vector<std::string>{"操作成功，设备时间为=2024-12-31 23:59:58",
                                                        "操作失败！", "操作失败！"}));
}

// The controller restarts instead of answering: the command once timed out and the command
// line exited 1 although the controller restarted.
TEST_F(Remote, ARestartIsReportedSentWithoutWaitingForAReply) {
    UdpController silent("127.0.0.2", h.port);
    ASSERT_TRUE(silent.ready());
    port.answer(Answer::Yes);
    EXPECT_EQ(resetDevice(session, playedRecord()), 0);
    EXPECT_EQ(port.messages(), std::vector<std::string>{"重启设备命令已发送！"});
    EXPECT_EQ(silent.waitForFrames(1).size(), 1u);
}

namespace {

// The window's way: sent without a wait, the reply shown when it comes, and the pending-reply
// watch (polled on the window's timer) saying so once when none comes within a command's wait.
class WindowOneShots : public Remote, public ::testing::WithParamInterface<int> {};

} // namespace

TEST_P(WindowOneShots, SaySoWhenNoReplyComes) {
    const std::function<int(ToolSession&, const DeviceUIInfo&)> commands[] = {
        [](ToolSession& s, const DeviceUIInfo& r) { return openDoor(s, r, 0, 3000); },
        [](ToolSession& s, const DeviceUIInfo& r) { return readTime(s, r); },
        [](ToolSession& s, const DeviceUIInfo& r) { return setTime(s, r); },
        [](ToolSession& s, const DeviceUIInfo& r) { return selfTest(s, r, 1); }};
    const auto& command = commands[GetParam()];
    session.setOneShotLimits(limits::kSendOnly);
    PendingReplyWatch& watch = session.dispatcher().pendingReply;
    UdpController controller("127.0.0.2", h.port);
    ASSERT_TRUE(controller.ready());
    EXPECT_EQ(command(session, playedRecord()), 0);
    clock.advance(4s);
    EXPECT_EQ(watch.poll(), std::nullopt);
    clock.advance(1s);
    EXPECT_EQ(watch.poll(), std::optional<std::string>(kSilentDeviceText));
    EXPECT_EQ(watch.poll(), std::nullopt);
    controller.setScript([](const SentFrame& f) { return std::vector{replyTo(f, 1, "\1\1\1")}; });
    EXPECT_EQ(command(session, playedRecord()), 0);
    for (int i = 0; i < 200 && watch.armed(); ++i) // the reply is on its way
        std::this_thread::sleep_for(5ms);
    EXPECT_FALSE(watch.armed());
}

INSTANTIATE_TEST_SUITE_P(Remote, WindowOneShots, ::testing::Range(0, 4));

namespace {

struct CommandCase {
    const char* name;
    std::function<int(ToolSession&, const std::optional<DeviceUIInfo>&)> run;
    const char* question;    // asked first, or empty
    const char* noSelection; // shown without a record
    std::uint8_t command;
    const char* payload;      // hexadecimal
    const char* replyPayload; // hexadecimal
    std::vector<std::string> notices;
};

class Commands : public Remote, public ::testing::WithParamInterface<CommandCase> {};

} // namespace

// Without a record: its message and no frame. With a question: No sends nothing, Yes the frame.
TEST_P(Commands, SelectedRecordQuestionFrameAndNotice) {
    const CommandCase& c = GetParam();
    UdpController controller("127.0.0.2", h.port, [&](const SentFrame& f) {
        return std::vector{replyTo(f, 1, unhex(c.replyPayload))};
    });
    ASSERT_TRUE(controller.ready());
    EXPECT_EQ(c.run(session, std::nullopt), -1);
    EXPECT_EQ(port.messages(), std::vector<std::string>{c.noSelection});
    if (*c.question) {
        EXPECT_EQ(c.run(session, playedRecord()), kDeclined);
        port.answer(Answer::Yes);
    }
    EXPECT_EQ(c.run(session, playedRecord()), 0);
    EXPECT_EQ(port.questions(),
              *c.question ? std::vector<std::string>(2, c.question) : std::vector<std::string>{});
    const auto frames = controller.waitForFrames(1); // a restart does not wait for its frame
    ASSERT_EQ(frames.size(), 1u);
    const SentFrame f = frames[0];
    EXPECT_EQ(f.info.command, c.command);
    EXPECT_EQ(f.info.target, 0x0309);
    EXPECT_EQ(hex(f.payload()), hex(unhex(c.payload)));
    EXPECT_EQ(port.notices(), c.notices);
}

INSTANTIATE_TEST_SUITE_P(
    Remote, Commands,
    ::testing::Values(
        CommandCase{"OpenDoor2ThreeSeconds",
                    [](ToolSession& s, const auto& r) { return openDoor(s, r, 1, 3000); },
                    "",
                    "请选择要操作的记录！",
                    16,
                    "02012C",
                    "",
                    {"操作成功！"}},
        // The restart's reply is not reported.
        CommandCase{
            "Restart", resetDevice, "确定要重新启动设备？", "请选择要操作的设备！", 66, "", "", {}},
        CommandCase{"ClearLog",
                    clearLog,
                    "确定要清除控制器上所有日志记录吗？此操作需要几分钟到几十分钟，日志清除后控制"
                    "器将自动重新启动！",
                    "请选择要操作的记录！",
                    64,
                    "",
                    "",
                    {"操作成功！"}},
        CommandCase{"SelfTestFlagWordLittleEndian",
                    [](ToolSession& s, const auto& r) { return selfTest(s, r, 0x08000010); },
                    "",
                    "请选择要操作的记录！",
                    243,
                    "10000008",
                    "02",
                    {"自测操作成功！返回码：2"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Remote, AnOpenTimeTheValueCannotCarryIsRefusedAndNothingIsSent) {
    UdpController controller("127.0.0.2", h.port);
    ASSERT_TRUE(controller.ready());
    // 655360 ms would wrap to 0; 655351 would be sent as 655350.
    for (long ms : {655351L, 655360L, -1L}) {
        EXPECT_EQ(openDoor(session, playedRecord(), 0, ms), -1) << ms;
        EXPECT_EQ(openDoorAll(session, playedRecord(), 0, ms), -1) << ms;
        // The command line's open-all sends without the question.
        EXPECT_EQ(sendOpenAll(session, session.channel().searchTarget(), 0xFFFF, 0, ms), -1);
    }
    EXPECT_EQ(port.messages(), std::vector<std::string>(9, kOpenTimeRangeText));
    EXPECT_TRUE(controller.waitForFrames(1, 100ms).empty());
}

// Answered No, the broadcast carries the id every controller answers to, even with a device
// selected; Yes carries the selected device's id; Cancel, or Yes without a record, sends
// nothing.
TEST_F(Remote, OpenAllNoCarriesTheIdOfEveryControllerYesTheSelectedOne) {
    // Bound to every address: receives the broadcast to 127.255.255.255.
    UdpController everyone("0.0.0.0", h.port,
                           [](const SentFrame& f) { return std::vector{replyTo(f)}; });
    ASSERT_TRUE(everyone.ready());
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
