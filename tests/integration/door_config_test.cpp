// Editing the door-access configuration (refresh, working copy, the area server, the write of
// command 14) and copying it to other controllers, seen from controllers played by the test.
#include <gtest/gtest.h>

#include <memory>

#include "fake_clock.h"
#include "fake_controller.h"
#include "integration_home.h"
#include "protocol/frame.h"
#include "recording_user_port.h"
#include "config/door_config.h"
#include "session/operation_result.h"
#include "session/tool_session.h"

using namespace quorvane;
using namespace quorvane::test;
using namespace std::chrono_literals;

namespace {

constexpr const char* kTimeoutText =
    "设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本地的数据。";

DeviceUIInfo controllerAt(int n, std::uint8_t group, std::uint8_t number) {
    DeviceUIInfo r;
    r.name = "门" + std::to_string(n);
    r.mac = "00.11.22.33.00." + std::to_string(n);
    r.ip = "127.0.0." + std::to_string(n);
    r.mask = "255.0.0.0";
    r.groupNo = group;
    r.deviceNo = number;
    r.searchModes = kFoundByBroadcast;
    // Counters of its own at the front of the block (log count, report index, inside count).
    r.doorConfig[0] = static_cast<std::uint8_t>(n);
    r.doorConfig[12] = static_cast<std::uint8_t>(10 * n);
    r.doorConfig[24] = static_cast<std::uint8_t>(100 + n);
    r.doorConfig[288] = static_cast<std::uint8_t>(n); // relay 1 state: its own setting
    return r;
}

struct DoorFixture : ::testing::Test {
    explicit DoorFixture(const std::string& options = {}) : h(0), options_(options) {}
    void SetUp() override {
        if (!options_.empty())
            writeFile(h.home + "/config.ini", readFile(h.home + "/config.ini") + options_);
        session = std::make_unique<ToolSession>(h.home, port, &clock);
        session->log().setEcho(false);
        session->start();
    }
    void TearDown() override { session->stop(); }

    IntegrationHome h;
    std::string options_;
    FakeClock clock{100ms};
    RecordingUserPort port;
    std::unique_ptr<ToolSession> session;
};

struct DoorEdit : DoorFixture {};
struct DoorEditWithoutRefresh : DoorFixture {
    DoorEditWithoutRefresh() : DoorFixture("[options]\nget-config-before-show=0\n") {}
};
struct DoorEditThenSearch : DoorFixture {
    DoorEditThenSearch() : DoorFixture("[options]\nrefresh-list-after-config=1\n") {}
};

} // namespace

// The dialog opens on the controller's block as it answers now; OK writes the edited block
// (457 bytes, command 14, its id) and the record holds it.
TEST_F(DoorEdit, TheDialogEditsTheRefreshedBlockAndOkWritesIt) {
    DeviceUIInfo listed = controllerAt(2, 1, 2);
    DeviceUIInfo current = listed;
    current.doorConfig[300] = 0x77; // changed on the controller since the search
    FakeController controller("127.0.0.2", h.port, [&](const std::string& f) {
        FrameInfo info = inspectFrame(asBytes(f));
        return std::vector{info.command == 2 ? deviceInformation(f, current) : answer(f, 1)};
    });
    ASSERT_TRUE(controller.ok());
    DoorBlock seen{};
    DoorConfigSteps steps;
    steps.dialog = [&](DoorBlock& working) {
        seen = working;
        working[289] = 0x05; // relay 1: report, time zone 2
        return true;
    };
    auto outcome = editDoorConfig(*session, listed, true, steps);
    EXPECT_EQ(outcome.result, kOperationDone);
    EXPECT_EQ(seen[300], 0x77);

    ASSERT_TRUE(controller.waitFrames(2));
    const auto frames = controller.frames();
    EXPECT_EQ(inspectFrame(asBytes(frames[0])).command, 2);
    const std::string write = frames[1];
    ASSERT_EQ(write.size(), 457u);
    FrameInfo info = inspectFrame(asBytes(write));
    EXPECT_EQ(info.command, 14);
    EXPECT_EQ(info.target, 0x0102);
    EXPECT_EQ(info.length, 424);
    EXPECT_TRUE(info.checksumOk);
    DoorBlock expected = current.doorConfig;
    expected[289] = 0x05;
    EXPECT_EQ(hex(write.substr(32, 424)), hex(std::string(expected.begin(), expected.end())));
    ASSERT_TRUE(outcome.record);
    EXPECT_EQ(outcome.record->doorConfig, expected);
    EXPECT_TRUE(port.messages().empty());
}

TEST_F(DoorEdit, CancelSendsNothingAfterTheRefresh) {
    DeviceUIInfo listed = controllerAt(2, 1, 2);
    FakeController controller("127.0.0.2", h.port, [&](const std::string& f) {
        return std::vector{deviceInformation(f, listed)};
    });
    ASSERT_TRUE(controller.ok());
    DoorConfigSteps steps;
    steps.dialog = [](DoorBlock& working) {
        working[289] = 0x05;
        return false;
    };
    EXPECT_EQ(editDoorConfig(*session, listed, true, steps).result, kOperationDeclined);
    EXPECT_FALSE(controller.waitFrames(2, 200ms));
    EXPECT_FALSE(session->dispatcher().pendingReply.armed());
}

// A silent controller: the timeout text once, then the dialog on the block as last decoded.
TEST_F(DoorEdit, ASilentControllerIsEditedAsLastDecoded) {
    DeviceUIInfo listed = controllerAt(2, 1, 2);
    FakeController controller("127.0.0.2", h.port);
    ASSERT_TRUE(controller.ok());
    bool opened = false;
    DoorConfigSteps steps;
    steps.dialog = [&](DoorBlock& working) {
        opened = working == listed.doorConfig;
        return false;
    };
    editDoorConfig(*session, listed, true, steps);
    EXPECT_TRUE(opened);
    EXPECT_EQ(port.messages(), std::vector<std::string>{kTimeoutText});
    EXPECT_EQ(controller.frames().size(), 1u);
}

TEST_F(DoorEdit, WithoutASelectionNothingOpens) {
    bool opened = false;
    DoorConfigSteps steps;
    steps.dialog = [&](DoorBlock&) { return opened = true; };
    EXPECT_EQ(editDoorConfig(*session, std::nullopt, true, steps).result, kOperationFailed);
    EXPECT_FALSE(opened);
    EXPECT_EQ(port.messages(), std::vector<std::string>{"请选择要操作的设备！"});
}

TEST_F(DoorEditWithoutRefresh, TheDialogOpensOnTheRecordWithoutAnyFrame) {
    DeviceUIInfo listed = controllerAt(2, 1, 2);
    FakeController controller("127.0.0.2", h.port);
    ASSERT_TRUE(controller.ok());
    std::size_t framesWhenOpened = 99;
    DoorConfigSteps steps;
    steps.dialog = [&](DoorBlock& working) {
        framesWhenOpened = controller.frames().size();
        EXPECT_EQ(working, listed.doorConfig);
        return true;
    };
    EXPECT_EQ(editDoorConfig(*session, listed, true, steps).result, kOperationDone);
    EXPECT_EQ(framesWhenOpened, 0u);
    ASSERT_TRUE(controller.waitFrames(1));
    EXPECT_EQ(inspectFrame(asBytes(controller.frames()[0])).command, 14);
}

TEST_F(DoorEditWithoutRefresh, WithoutARecordTheDialogOpensOnZerosAndNothingIsSaved) {
    DoorBlock seen;
    seen.fill(0xFF);
    DoorConfigSteps steps;
    steps.dialog = [&](DoorBlock& working) {
        seen = working;
        return true;
    };
    EXPECT_EQ(editDoorConfig(*session, std::nullopt, true, steps).result, kOperationFailed);
    EXPECT_EQ(seen, DoorBlock{});
    EXPECT_EQ(port.messages(), std::vector<std::string>{"没有选中设备，修改后的配置将无法保存！"});
    EXPECT_FALSE(session->dispatcher().pendingReply.armed());
}

TEST_F(DoorEditWithoutRefresh, TheAreaServerHasNothingToConfigure) {
    DeviceUIInfo server = controllerAt(2, 0xFF, 0xFE);
    bool opened = false;
    DoorConfigSteps steps;
    steps.dialog = [&](DoorBlock&) { return opened = true; };
    EXPECT_EQ(editDoorConfig(*session, server, true, steps).result, kOperationFailed);
    EXPECT_FALSE(opened);
    EXPECT_EQ(port.messages(),
              std::vector<std::string>{
                  "当前设备是区域服务器，是软件虚拟的一个设备，用于反潜回/限次，没有配置功能！"});
}

TEST_F(DoorEditWithoutRefresh, WindowValuesNotTakenStopBeforeTheDialog) {
    bool opened = false;
    DoorConfigSteps steps;
    steps.dialog = [&](DoorBlock&) { return opened = true; };
    editDoorConfig(*session, controllerAt(2, 1, 2), false, steps);
    EXPECT_FALSE(opened);
    EXPECT_EQ(port.messages(), std::vector<std::string>{"保存界面数据失败！"});
}

TEST_F(DoorEditThenSearch, TheWindowSearchesAgainAfterTheDialog) {
    DeviceUIInfo listed = controllerAt(2, 1, 2);
    FakeController controller("127.0.0.2", h.port, [&](const std::string& f) {
        return std::vector{inspectFrame(asBytes(f)).command == 2 ? deviceInformation(f, listed)
                                                                 : answer(f, 1)};
    });
    int searches = 0;
    DoorConfigSteps steps;
    steps.dialog = [](DoorBlock&) { return true; };
    steps.searchAgain = [&] { ++searches; };
    editDoorConfig(*session, listed, true, steps);
    EXPECT_EQ(searches, 1);
}

// Three targets: three command-14 frames, each to the target's own id, each keeping the
// target's counters D0..D31 and carrying the source's D32..D423.
TEST_F(DoorEdit, CopyToThreeTargetsKeepsEachTargetsCounters) {
    DeviceUIInfo source = controllerAt(2, 1, 2);
    for (std::size_t i = 32; i < kDoorBlockSize; ++i)
        source.doorConfig[i] = static_cast<std::uint8_t>(i * 7);
    std::vector<DeviceUIInfo> targets = {controllerAt(3, 1, 3), controllerAt(4, 2, 1),
                                         controllerAt(5, 0, 0)};
    std::vector<std::unique_ptr<FakeController>> controllers;
    for (const auto& t : targets) {
        controllers.push_back(std::make_unique<FakeController>(t.ip, h.port));
        ASSERT_TRUE(controllers.back()->ok());
    }
    const auto before = targets;
    EXPECT_EQ(copyDoorConfig(*session, source, targets), kOperationDone);

    const std::uint16_t ids[] = {0x0103, 0x0201, 0x0005}; // number 0: the MAC's last bytes
    std::vector<std::uint16_t> sequences;
    for (std::size_t t = 0; t < 3; ++t) {
        ASSERT_TRUE(controllers[t]->waitFrames(1));
        const auto frames = controllers[t]->frames();
        ASSERT_EQ(frames.size(), 1u);
        const std::string& f = frames[0];
        ASSERT_EQ(f.size(), 457u);
        FrameInfo info = inspectFrame(asBytes(f));
        EXPECT_EQ(info.command, 14);
        EXPECT_EQ(info.target, ids[t]);
        EXPECT_TRUE(info.checksumOk);
        sequences.push_back(info.sequence);
        const auto& own = before[t].doorConfig;
        EXPECT_EQ(hex(f.substr(32, 32)), hex(std::string(own.begin(), own.begin() + 32)));
        EXPECT_EQ(hex(f.substr(64, 392)),
                  hex(std::string(source.doorConfig.begin() + 32, source.doorConfig.end())));
        EXPECT_EQ(hex(f.substr(32, 424)),
                  hex(std::string(targets[t].doorConfig.begin(), targets[t].doorConfig.end())));
    }
    EXPECT_NE(sequences[0], sequences[1]);
    EXPECT_NE(sequences[1], sequences[2]);
}

TEST_F(DoorEdit, CopyStopsAtTheFirstTargetWithoutAnAddress) {
    DeviceUIInfo source = controllerAt(2, 1, 2);
    std::vector<DeviceUIInfo> targets = {controllerAt(3, 1, 3), controllerAt(4, 1, 4),
                                         controllerAt(5, 1, 5)};
    targets[1].ip.clear();
    FakeController third("127.0.0.3", h.port), fifth("127.0.0.5", h.port);
    EXPECT_EQ(copyDoorConfig(*session, source, targets), kOperationFailed);
    EXPECT_TRUE(third.waitFrames(1));
    EXPECT_FALSE(fifth.waitFrames(1, 200ms));
    EXPECT_EQ(port.messages(), std::vector<std::string>{"设备地址非法！请选择设备记录！"});
}
