#include <gtest/gtest.h>

#include <memory>

#include "config/door_config.h"
#include "loopback_session.h"
#include "protocol/frame.h"
#include "sample_frames.h"
#include "session/operation_result.h"

using namespace quorvane;
using namespace quorvane::test;
using namespace std::chrono_literals;

namespace {

constexpr const char* kTimeoutText =
    "设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本地的数据。";

// A door block of its own in each, so that a copy shows whose counters (D0..D31) it kept.
DeviceUIInfo controllerAt(int n, std::uint8_t group, std::uint8_t number) {
    DeviceUIInfo r = sampleDevice(n);
    r.ip = "127.0.0." + std::to_string(n);
    r.groupNo = group;
    r.deviceNo = number;
    r.searchModes = kFoundByBroadcast;
    return r;
}

struct DoorEdit : ::testing::Test {
    LoopbackSession t{"door-edit", 0};
};

} // namespace

TEST_F(DoorEdit, TheDialogEditsTheRefreshedBlockOrTheLastDecodedOneAndOkWritesIt) {
    const DeviceUIInfo listed = controllerAt(2, 1, 2);
    bool ok = false;
    DoorBlock seen{};
    DoorConfigSteps steps;
    steps.dialog = [&](DoorBlock& working) {
        seen = working;
        working[289] = 0x05; // relay 1: report, time zone 2
        return ok;
    };
    // A silent controller: the timeout text once, then the dialog on the block as last decoded;
    // Cancel sends nothing after the refresh.
    EXPECT_EQ(editDoorConfig(t.s(), listed, true, steps).result, kOperationDeclined);
    EXPECT_EQ(seen, listed.doorConfig);
    EXPECT_EQ(t.user.messages(), std::vector<std::string>{kTimeoutText});
    EXPECT_EQ(t.controller.waitForFrames(2, 200ms).size(), 1u);
    EXPECT_FALSE(t.s().dispatcher().pendingReply.armed());

    // Answering, it opens the dialog on its block as it answers now; OK writes the edited block
    // (command 14, its id) and the record holds it.
    DeviceUIInfo current = listed;
    current.doorConfig[300] = 0x77; // changed on the controller since the search
    t.controller.setScript([&](const SentFrame& f) {
        return std::vector{f.info.command == 2 ? deviceInformation(f, current) : replyTo(f)};
    });
    ok = true;
    auto outcome = editDoorConfig(t.s(), listed, true, steps);
    EXPECT_EQ(outcome.result, kOperationDone);
    EXPECT_EQ(seen[300], 0x77);
    const auto frames = t.controller.waitForFrames(3);
    ASSERT_EQ(frames.size(), 3u); // the refresh, then the write
    const SentFrame& write = frames[2];
    ASSERT_EQ(write.bytes.size(), 457u);
    EXPECT_EQ(write.info.command, 14);
    EXPECT_EQ(write.info.target, 0x0102);
    EXPECT_TRUE(write.info.checksumOk);
    DoorBlock expected = current.doorConfig;
    expected[289] = 0x05;
    EXPECT_EQ(hex(write.payload()), hex(std::string(expected.begin(), expected.end())));
    ASSERT_TRUE(outcome.record);
    EXPECT_EQ(outcome.record->doorConfig, expected);
    EXPECT_EQ(t.user.messages().size(), 1u);

    // Without the refresh the dialog opens at once on the record, only the write follows, and
    // the window searches again after it when the settings ask for that.
    t.s().settings().writeString("options", "get-config-before-show", "0");
    t.s().settings().writeString("options", "refresh-list-after-config", "1");
    int searches = 0;
    steps.searchAgain = [&] { ++searches; };
    EXPECT_EQ(editDoorConfig(t.s(), listed, true, steps).result, kOperationDone);
    EXPECT_EQ(seen, listed.doorConfig);
    const auto all = t.controller.waitForFrames(4);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[3].info.command, 14);
    EXPECT_EQ(searches, 1);
}

namespace {

struct Refusal {
    const char* name;
    std::optional<DeviceUIInfo> record;
    bool fieldsTaken;
    bool opens;
    const char* message;
    const char* options = "get-config-before-show=0";
};

class DoorEditRefusals : public DoorEdit, public ::testing::WithParamInterface<Refusal> {};

} // namespace

TEST_P(DoorEditRefusals, SaveNothingAndSayWhy) {
    const Refusal& c = GetParam();
    t.writeConfig(c.options);
    DoorBlock seen;
    seen.fill(0xFF);
    DoorConfigSteps steps;
    steps.dialog = [&](DoorBlock& working) {
        seen = working;
        return true;
    };
    EXPECT_EQ(editDoorConfig(t.s(), c.record, c.fieldsTaken, steps).result, kOperationFailed);
    EXPECT_EQ(seen == DoorBlock{}, c.opens);
    EXPECT_EQ(t.user.messages(), std::vector<std::string>{c.message});
    EXPECT_FALSE(t.s().dispatcher().pendingReply.armed());
}

INSTANTIATE_TEST_SUITE_P(
    Checks, DoorEditRefusals,
    ::testing::Values(
        // Without a record the dialog still opens, on zeros, and nothing is saved.
        Refusal{"NoRecord", std::nullopt, true, true, "没有选中设备，修改后的配置将无法保存！"},
        Refusal{"AreaServer", controllerAt(2, 0xFF, 0xFE), true, false,
                "当前设备是区域服务器，是软件虚拟的一个设备，用于反潜回/限次，没有配置功能！"},
        Refusal{"WindowValuesNotTaken", controllerAt(2, 1, 2), false, false, "保存界面数据失败！"},
        // With the refresh on, no selection is refused before the dialog.
        Refusal{"NoSelection", std::nullopt, true, false, "请选择要操作的设备！", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Three targets: three command-14 frames, each to the target's own id, each keeping the
// target's counters D0..D31 and carrying the source's D32..D423; a target without an address
// is skipped; one summary names each target and how it went.
TEST_F(DoorEdit, CopyKeepsEachTargetsCountersAndSumsUpEachTarget) {
    const DeviceUIInfo source = controllerAt(2, 1, 2);
    std::vector<DeviceUIInfo> targets = {controllerAt(3, 1, 3), controllerAt(4, 2, 1),
                                         controllerAt(5, 0, 0)};
    std::vector<std::unique_ptr<UdpController>> controllers;
    for (const auto& target : targets) {
        controllers.push_back(std::make_unique<UdpController>(
            target.ip, t.port, [](const SentFrame& f) { return std::vector{replyTo(f)}; }));
        ASSERT_TRUE(controllers.back()->ready());
    }
    const auto before = targets;
    EXPECT_EQ(copyDoorConfig(t.s(), source, targets), kOperationDone);

    const std::uint16_t ids[] = {0x0103, 0x0201, 0x0105}; // number 0: the MAC's last bytes
    for (std::size_t i = 0; i < 3; ++i) {
        const auto frames = controllers[i]->waitForFrames(1);
        ASSERT_EQ(frames.size(), 1u);
        const SentFrame& f = frames[0];
        EXPECT_EQ(f.info.command, 14);
        EXPECT_EQ(f.info.target, ids[i]);
        const auto& own = before[i].doorConfig;
        std::string expected(own.begin(), own.begin() + 32);
        expected.append(source.doorConfig.begin() + 32, source.doorConfig.end());
        EXPECT_EQ(hex(f.payload()), hex(expected));
        EXPECT_EQ(hex(f.payload()),
                  hex(std::string(targets[i].doorConfig.begin(), targets[i].doorConfig.end())));
    }

    targets[1].ip.clear();
    controllers[2]->setScript({}); // silent now
    EXPECT_EQ(copyDoorConfig(t.s(), source, targets), kOperationFailed);
    const auto messages = t.user.messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[1], "设备地址非法！请选择设备记录！");
    EXPECT_EQ(messages[2].substr(0, messages[2].rfind('\n')),
              "操作部分成功！\n复制配置：共3，成功1，失败1，无应答1\n127.0.0.3：保存成功\n" +
                  targets[1].name + "：地址无效，未发送\n127.0.0.5：无应答");
}
