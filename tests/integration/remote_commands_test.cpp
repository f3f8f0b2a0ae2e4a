// The clock, open on all controllers, restart, clear log and self test over real sockets: the
// frames byte for byte where the test plays the controller, and the state quorvane-sim keeps
// where it does.
#include <gtest/gtest.h>

#include <future>
#include <regex>

#include "fake_clock.h"
#include "fake_controller.h"
#include "remote_sim.h"
#include "sample_frames.h"
#include "remote/remote_commands.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

constexpr const char* kOpenAllQuestion =
    "通过广播消息开启当前选中设备的继电器吗？广播给指定设备选择“是”，广播到网络中所有设备选择“否”"
    "，退出选择“取消”。";

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

// The controller the played tests talk to: target id 0x0309 at 127.0.0.2.
DeviceUIInfo playedRecord() {
    DeviceUIInfo r = sampleDevice(4);
    r.groupNo = 3;
    r.deviceNo = 9;
    r.ip = "127.0.0.2";
    r.searchModes = kFoundByBroadcast;
    return r;
}

} // namespace

TEST(SetTime, AtAFixedClockTheFrameIsTheLocalTimeInBcdWithTheWeekday) {
    IntegrationHome h;
    FakeController controller("127.0.0.2", h.port, [](const std::string& request) {
        return std::vector{answer(request)};
    });
    ASSERT_TRUE(controller.ok());
    FakeClock clock(std::chrono::milliseconds(50), tuesdayAfternoon());
    WaitingSession w(h.home, &clock);
    EXPECT_EQ(setTime(w.session, playedRecord()), 0);
    ASSERT_EQ(controller.frames().size(), 1u);
    EXPECT_EQ(hex(controller.frames()[0]), hex(unhex("55555555555555555555555555555555"
                                                     "FFFF"
                                                     "FFFFFFFFFFFF"
                                                     "0309" // target id
                                                     "0100" // the session's first sequence number
                                                     "26"   // 38
                                                     "00"
                                                     "0007"
                                                     "24030514070902"
                                                     "7F"))); // sum of bytes 28..38
    EXPECT_EQ(w.port.notices(), std::vector<std::string>{"操作成功！"});
}

TEST(ReadTime, TheReplysTimeIsShownAndAFailureSaysSo) {
    IntegrationHome h;
    FakeController controller("127.0.0.2", h.port, [](const std::string& request) {
        return std::vector{answer(request, 1, unhex("24 12 31 23 59 58 02"))};
    });
    ASSERT_TRUE(controller.ok());
    WaitingSession w(h.home);
    EXPECT_EQ(readTime(w.session, playedRecord()), 0);
    controller.setScript([](const std::string& request) {
        return std::vector{answer(request, 0, unhex("24 12 31 23 59 58 02"))};
    });
    EXPECT_EQ(readTime(w.session, playedRecord()), -1);
    for (const std::string& frame : controller.frames()) {
        EXPECT_EQ(frame.size(), 33u);
        EXPECT_EQ(static_cast<int>(frame[28]), 40);
    }
    EXPECT_EQ(w.port.notices(),
              (std::vector<std::string>{"操作成功，设备时间为=2024-12-31 23:59:58", "操作失败！"}));
}

TEST(SetTime, TheSimulatedClockTakesTheTimeAndReadsItBack) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    FakeClock clock(std::chrono::milliseconds(50), tuesdayAfternoon());
    WaitingSession w(s.h.home, &clock);
    auto device = w.device("127.0.0.2");
    ASSERT_TRUE(device);
    EXPECT_EQ(setTime(w.session, device), 0);
    EXPECT_EQ(readTime(w.session, device), 0);
    const JsonValue remote = s.controller("127.0.0.2")["remote"];
    EXPECT_EQ(remote["payloads"]["38"].str(), "24030514070902");
    EXPECT_TRUE(remote["clock"].str().starts_with("2024-03-05 14:0")) << remote["clock"].str();
    auto notices = w.port.notices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0], "操作成功！");
    EXPECT_TRUE(std::regex_match(notices[1],
                                 std::regex("操作成功，设备时间为=2024-03-05 14:0[78]:[0-9]{2}")))
        << notices[1];
    int code = -1;
    EXPECT_EQ(s.h.cli({"time", "set", "-d", "127.0.0.3"}, &code), "操作成功！\n");
    EXPECT_EQ(code, 0);
}

// Answered No, the broadcast carries the id every controller answers to, even with a device
// selected; Yes carries the selected device's id.
TEST(OpenDoorAll, NoCarriesTheIdOfEveryControllerYesTheSelectedOne) {
    IntegrationHome h;
    // Bound to every address: receives the broadcast to 127.255.255.255.
    FakeController everyone(
        "0.0.0.0", h.port, [](const std::string& request) { return std::vector{answer(request)}; });
    ASSERT_TRUE(everyone.ok());
    WaitingSession w(h.home);
    w.session.channel().applyMulticastMode(false, {});
    for (Answer a : {Answer::No, Answer::Yes}) {
        w.port.answer(a);
        EXPECT_EQ(openDoorAll(w.session, playedRecord(), 1, 3000), 0);
        const std::string frame = everyone.frames().back();
        EXPECT_EQ(hex(frame.substr(24, 2)), a == Answer::No ? "FF FF" : "03 09");
        EXPECT_EQ(hex(frame.substr(28)), hex(unhex("10 00 0003 02012C 42")));
    }
    EXPECT_EQ(w.port.questions(), std::vector<std::string>(2, kOpenAllQuestion));
    // Cancel, or Yes without a selected record, sends nothing. What each answer opens on the
    // simulated controllers is in the window's open-all test.
    w.port.answer(Answer::Cancel);
    EXPECT_EQ(openDoorAll(w.session, playedRecord(), 0, 500), kDeclined);
    w.port.answer(Answer::Yes);
    EXPECT_EQ(openDoorAll(w.session, std::nullopt, 0, 500), -1);
    EXPECT_EQ(w.port.messages(), std::vector<std::string>{"请选择要操作的记录！"});
    EXPECT_FALSE(everyone.waitFrames(3, std::chrono::milliseconds(100)));
}

TEST(OpenDoorAll, TheCommandLineChoosesWithTheDeviceOptionAndAsksToGoAhead) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    int code = -1;
    // Not answered Yes: nothing is sent.
    EXPECT_EQ(s.h.cli({"open-all", "--door", "1", "--ms", "500"}, &code), "");
    EXPECT_EQ(code, 3);
    std::string out =
        s.h.cli({"--yes", "open-all", "--door", "4", "--ms", "30000", "-d", "127.0.0.3"}, &code);
    EXPECT_EQ(out, "操作成功！\n");
    EXPECT_EQ(code, 0);
    out = s.h.cli({"--yes", "open-all", "--door", "2", "--ms", "3000"}, &code);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(out.starts_with("操作成功！\n")) << out;
    for (const char* ip : {"127.0.0.1", "127.0.0.2", "127.0.0.3"}) {
        SCOPED_TRACE(ip);
        const JsonValue relays = s.controller(ip)["remote"]["relays"];
        EXPECT_EQ(relays[0]["commands"].integer(), 0);
        EXPECT_EQ(relays[1]["openMs"].integer(), 3000);
        EXPECT_EQ(relays[3]["commands"].integer(), std::string(ip) == "127.0.0.3" ? 1 : 0);
    }
    s.h.cli({"--yes", "open-all", "--door", "2", "--ms", "655351"}, &code);
    EXPECT_EQ(code, 1);
    s.h.cli({"--yes", "open-all", "--door", "2"}, &code);
    EXPECT_EQ(code, 2);
}

TEST(Reset, AsksFirstAndTheControllerRestarts) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    WaitingSession w(s.h.home);
    auto device = w.device("127.0.0.2");
    ASSERT_TRUE(device);
    EXPECT_EQ(resetDevice(w.session, device), kDeclined);
    w.port.answer(Answer::Yes);
    EXPECT_EQ(resetDevice(w.session, device), 0);
    EXPECT_EQ(w.port.questions(), std::vector<std::string>(2, "确定要重新启动设备？"));
    EXPECT_TRUE(w.port.notices().empty()); // the restart's reply is not reported
    EXPECT_EQ(resetDevice(w.session, std::nullopt), -1);
    EXPECT_EQ(w.port.messages(), std::vector<std::string>{"请选择要操作的设备！"});
    int code = -1;
    EXPECT_EQ(s.h.cli({"reset", "-d", "127.0.0.2"}, &code), "");
    EXPECT_EQ(code, 3);
    EXPECT_EQ(s.h.cli({"--yes", "reset", "-d", "127.0.0.2"}, &code), "");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(s.controller("127.0.0.2")["remote"]["restarts"].integer(), 2);
}

TEST(ClearLog, AsksFirstThenTheLogIsClearedAndTheControllerRestarts) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    WaitingSession w(s.h.home);
    auto device = w.device("127.0.0.2");
    ASSERT_TRUE(device);
    EXPECT_EQ(clearLog(w.session, device), kDeclined);
    EXPECT_EQ(w.port.questions(), std::vector<std::string>{
                                      "确定要清除控制器上所有日志记录吗？此操作需要几分钟到几十分钟"
                                      "，日志清除后控制器将自动重新启动！"});
    EXPECT_FALSE(s.controller("127.0.0.2")["requests"].has("64"));
    int code = -1;
    EXPECT_EQ(s.h.cli({"--yes", "clear-log", "-d", "127.0.0.2"}, &code), "操作成功！\n");
    EXPECT_EQ(code, 0);
    const JsonValue remote = s.controller("127.0.0.2")["remote"];
    EXPECT_EQ(remote["logClears"].integer(), 1);
    EXPECT_EQ(remote["restarts"].integer(), 1);
    EXPECT_EQ(clearLog(w.session, std::nullopt), -1);
    EXPECT_EQ(w.port.messages(), std::vector<std::string>{"请选择要操作的记录！"});
}

// The window's self-test button sends bits 1 and 16 through the same operation (02 00 01 00 in
// its test); here the flag word as the command line reads it.
TEST(SelfTest, TheCommandLineFlagWordInHexOrDecimalAndTheReturnCodeShown) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    int code = -1;
    EXPECT_EQ(s.h.cli({"self-test", "-d", "127.0.0.2", "--flags", "0x08000010"}, &code),
              "自测操作失败！返回码：4\n");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(s.h.cli({"self-test", "-d", "127.0.0.2", "--flags", "134217736"}, &code),
              "自测操作成功！返回码：2\n");
    EXPECT_EQ(code, 0);
    const JsonValue remote = s.controller("127.0.0.2")["remote"];
    EXPECT_EQ(remote["testFlagBits"].size(), 2u);
    EXPECT_EQ(remote["testFlagBits"][0].integer(), 3);
    EXPECT_EQ(remote["testFlagBits"][1].integer(), 27);
    for (const char* bad : {"4294967296", "-1", "0x", "12x"}) {
        s.h.cli({"self-test", "-d", "127.0.0.2", "--flags", bad}, &code);
        EXPECT_EQ(code, 2) << bad;
    }
}
