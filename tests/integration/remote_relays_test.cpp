// Doors and relays against quorvane-sim: the command line's words for every relay menu item,
// the payloads of the edge cases byte for byte, and the controller's answer as the person
// reads it.
#include <gtest/gtest.h>

#include "protocol/open_door.h"
#include "remote_sim.h"
#include "remote/remote_choices.h"
#include "remote/remote_commands.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

constexpr const char* kController = "127.0.0.2";

// What the dump shows for a relay after a menu item: the mode, and the open time of a pulse.
struct Expected {
    const char* mode;
    long openMs; // -1: not a pulse
};
constexpr Expected kExpected[] = {
    {"pulse", 500},   {"pulse", 3000},        {"pulse", 10000},
    {"pulse", 30000}, {"held-energised", -1}, {"held-released", -1},
    {"auto", -1},     {"energised", -1},      {"released", -1},
};
static_assert(std::size(kExpected) == std::size(kRelayChoices));

// The quorvane-cli words of each menu item.
const std::vector<std::string> kCliChoice[] = {
    {"--ms", "500"},     {"--ms", "3000"},    {"--ms", "10000"},
    {"--ms", "30000"},   {"--state", "hold"}, {"--state", "release"},
    {"--state", "auto"}, {"--state", "on"},   {"--state", "off"},
};

} // namespace

// The window's relay menu test walks every item on all four relays; here each item's
// command-line words, one item on one relay in turn.
TEST(RelayMenu, EveryItemThroughTheCommandLineSwitchesItsSimulatedRelay) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    for (std::size_t c = 0; c < std::size(kRelayChoices); ++c) {
        const std::size_t r = c % 4;
        SCOPED_TRACE(std::string(kRelayMenuCaptions[r]) + " / " + kRelayChoices[c].caption);
        std::vector<std::string> words = {"open", "-d", kController, "--door",
                                          std::to_string(r + 1)};
        words.insert(words.end(), kCliChoice[c].begin(), kCliChoice[c].end());
        int code = -1;
        EXPECT_EQ(s.h.cli(words, &code), "操作成功！\n");
        EXPECT_EQ(code, 0);
        const JsonValue relay = s.controller(kController)["remote"]["relays"][r];
        EXPECT_EQ(relay["mode"].str(), kExpected[c].mode);
        if (kExpected[c].openMs >= 0)
            EXPECT_EQ(relay["openMs"].integer(), kExpected[c].openMs);
        else
            EXPECT_FALSE(relay.has("openMs"));
        EXPECT_EQ(relay["commands"].integer(), static_cast<int>(c / 4 + 1));
    }
    // The other controllers were not touched.
    EXPECT_EQ(s.controller("127.0.0.3")["remote"]["relays"][0]["commands"].integer(), 0);
}

namespace {
struct PayloadCase {
    const char* name;
    int doorIndex;
    long milliseconds;
    const char* payload; // as the dump shows it
};
class EdgePayload : public ::testing::TestWithParam<PayloadCase> {};
} // namespace

TEST_P(EdgePayload, ArrivesByteForByte) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    WaitingSession w(s.h.home);
    auto device = w.device(kController);
    ASSERT_TRUE(device);
    EXPECT_EQ(openDoor(w.session, device, GetParam().doorIndex, GetParam().milliseconds), 0);
    EXPECT_EQ(s.controller(kController)["remote"]["payloads"]["16"].str(), GetParam().payload);
}

INSTANTIATE_TEST_SUITE_P(Cases, EdgePayload,
                         ::testing::Values(PayloadCase{"Relay2ThreeSeconds", 1, 3000, "02012c"},
                                           PayloadCase{"Relay1HoldEnergised", 0, 650030, "01fdeb"},
                                           PayloadCase{"RemainderDropped", 0, 1234, "01007b"},
                                           PayloadCase{"Door3FiveSeconds", 2, 5000, "0301f4"},
                                           PayloadCase{"ExtensionRelay164", 163, 655350, "a4ffff"}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {
struct AnswerCase {
    const char* name;
    int door;
    const char* text;
    int exitCode;
};
class OpenAnswer : public ::testing::TestWithParam<AnswerCase> {};
} // namespace

// Door 2 fails with status 0, door 3 with status 2: the texts of the open-door reply.
TEST_P(OpenAnswer, ShowsTheTextOfItsStatus) {
    RemoteSim s({"--fault", "door:2:0", "--fault", "door:3:2"});
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    int code = -1;
    EXPECT_EQ(s.h.cli({"open", "-d", kController, "--door", std::to_string(GetParam().door), "--ms",
                       "500"},
                      &code),
              std::string(GetParam().text) + "\n");
    EXPECT_EQ(code, GetParam().exitCode);

    WaitingSession w(s.h.home);
    auto device = w.device(kController);
    ASSERT_TRUE(device);
    EXPECT_EQ(openDoor(w.session, device, GetParam().door - 1, 500), GetParam().exitCode ? -1 : 0);
    EXPECT_EQ(w.port.notices(), std::vector<std::string>{GetParam().text});
    const JsonValue relay = s.controller(kController)["remote"]["relays"][GetParam().door - 1];
    EXPECT_EQ(relay["commands"].integer(), GetParam().exitCode ? 0 : 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, OpenAnswer,
                         ::testing::Values(AnswerCase{"Success", 1, "操作成功！", 0},
                                           AnswerCase{"StatusZero", 2, "失败", 1},
                                           AnswerCase{"OtherStatus", 3, "未知", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OpenDoor, ATimeTheValueCannotCarryIsRefusedAndNothingIsSent) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    WaitingSession w(s.h.home);
    auto device = w.device(kController);
    ASSERT_TRUE(device);
    // 655360 ms would wrap to 0; 655351 would be sent as 655350.
    for (long ms : {655351L, 655360L, 1000000L, -1L})
        EXPECT_EQ(openDoor(w.session, device, 0, ms), -1) << ms;
    EXPECT_EQ(w.port.messages(), std::vector<std::string>(4, kOpenTimeRangeText));
    int code = -1;
    EXPECT_EQ(s.h.cli({"open", "-d", kController, "--door", "1", "--ms", "655360"}, &code),
              std::string(kOpenTimeRangeText) + "\n");
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(s.controller(kController)["requests"].has("16"));
}

TEST(OpenDoor, WithoutASelectedRecordNothingIsSent) {
    RemoteSim s;
    ASSERT_TRUE(s.sim.waitForLine("ready"));
    WaitingSession w(s.h.home);
    EXPECT_EQ(openDoor(w.session, std::nullopt, 0, 500), -1);
    EXPECT_EQ(w.port.messages(), std::vector<std::string>{"请选择要操作的记录！"});
}

TEST(OpenDoorCli, RefusesWordsThatNameNoDoorOrTime) {
    IntegrationHome h;
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"open", "-d", kController, "--ms", "500"},
             {"open", "-d", kController, "--door", "0", "--ms", "500"},
             {"open", "-d", kController, "--door", "165", "--ms", "500"},
             {"open", "-d", kController, "--door", "1"},
             {"open", "-d", kController, "--door", "1", "--ms", "5", "--state", "on"},
             {"open", "-d", kController, "--door", "1", "--state", "closed"},
             {"open", "-d", kController, "--door", "1", "--ms", "-5"}}) {
        int code = -1;
        EXPECT_EQ(h.cli(words, &code), "");
        EXPECT_EQ(code, 2) << words.back();
    }
}
