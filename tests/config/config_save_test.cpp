#include <gtest/gtest.h>

#include "config/config_save.h"
#include "config/door_config.h"
#include "loopback_session.h"
#include "protocol/frame.h"
#include "sample_frames.h"
#include "session/operation_result.h"

using namespace quorvane;
using namespace quorvane::test;
using namespace std::chrono_literals;

namespace {

// The controller as the tool last decoded it: every carried field set, the device flag 0x0102
// from its MAC, group 1, number 2, found by broadcast at the loopback controller's address.
DeviceUIInfo controllerRecord() {
    DeviceUIInfo r = sampleDevice(2);
    r.name = "东门";
    r.ip = "127.0.0.2";
    r.groupNo = 1;
    r.blockVersion = 1; // the extended form
    r.extMarker = kExtendedMarker;
    r.serverAddress = "10.0.0.9";
    r.serverPort = 9000;
    r.pppoeAccount = {'d', 'i', 'a', 'l'};
    r.pppoePassword = {'p', 'w'};
    r.searchModes = kFoundByBroadcast;
    return r;
}

struct SaveFixture : ::testing::Test {
    LoopbackSession t{"config-save", 0};

    // Broadcast saves go to the controller's own address here, so that it sees them.
    SearchTarget toController() const {
        return SearchTarget{false, {0x7F000002, static_cast<std::uint16_t>(t.port)}};
    }
    int save(const DeviceUIInfo& record, const BasicConfigFields& fields,
             SaveMode mode = SaveMode::ToDevice) {
        return SaveConfigImpl(t.s(), record, fields, mode, toController());
    }
};

} // namespace

// The block's own bytes are the encoder's golden (tests/model); here the frame around it, the
// fields the save takes from the window and the settings, and the zeros after the block.
TEST_F(SaveFixture, AModeZeroSaveIsTheWholeFrameOf649Bytes) {
    const DeviceUIInfo record = controllerRecord();
    BasicConfigFields fields = basicFieldsOf(record);
    fields.hostPort = 50001;
    fields.reportMode = 2;
    fields.ipAlloc = 0;
    DeviceUIInfo saved;
    EXPECT_EQ(SaveConfigImpl(t.s(), record, fields, SaveMode::ToDevice, toController(), &saved),
              kOperationDone);
    ASSERT_EQ(t.controller.waitForFrames(1).size(), 1u);
    DeviceUIInfo expectedRecord = record;
    expectedRecord.name = "00258"; // the device flag 0x0102 as "%05u"
    expectedRecord.hostPort = 50001;
    expectedRecord.reportMode = 2;
    expectedRecord.ipAlloc = 0;
    expectedRecord.netTimeout = 50; // the settings' defaults
    expectedRecord.passTimeout = 5;
    EXPECT_EQ(saved, expectedRecord);

    std::string expected = unhex(kSessionHeader + "04000268"); // command 4, length 616
    const auto block = encodeBasicBlock(expectedRecord);
    expected.append(block.begin(), block.end());
    expected += std::string(424 + 1, '\0');
    refreshChecksum(expected);
    EXPECT_EQ(hex(t.controller.frame(0)), hex(expected));
    EXPECT_TRUE(t.user.messages().empty());
}

TEST_F(SaveFixture, TimeoutSettingsOutsideAWordAreHeldToIt) {
    t.s().settings().writeString("options", "net-timeouts", "-3");
    t.s().settings().writeString("options", "inout-timeouts", "70000");
    const DeviceUIInfo record = controllerRecord();
    EXPECT_EQ(save(record, basicFieldsOf(record)), kOperationDone);
    ASSERT_EQ(t.controller.waitForFrames(1).size(), 1u);
    EXPECT_EQ(hex(t.controller.frame(0).substr(32 + 104, 4)), "00 00 FF FF");
}

namespace {

struct SaveCase {
    const char* name;
    SaveMode mode;
    void (*edit)(BasicConfigFields&);
    std::uint16_t target;
    std::string nameText; // payload 0..15: its length, then the text
    std::vector<std::string> notices{};
    bool snIsMac = true;
    std::string passwordBytes = std::string("123\0\0\0", 6); // payload 46..51
};

class SaveCases : public SaveFixture, public ::testing::WithParamInterface<SaveCase> {};

void keep(BasicConfigFields&) {}

} // namespace

TEST_P(SaveCases, TheFrameCarriesTheTargetNameAndPassword) {
    const SaveCase& c = GetParam();
    if (!c.snIsMac)
        t.s().settings().writeString("common", "sn-is-mac", "0");
    const DeviceUIInfo record = controllerRecord();
    BasicConfigFields fields = basicFieldsOf(record);
    c.edit(fields);
    EXPECT_EQ(save(record, fields, c.mode), kOperationDone);
    ASSERT_EQ(t.controller.waitForFrames(1).size(), 1u);
    const std::string frame = t.controller.frame(0);
    ASSERT_EQ(frame.size(), 649u);
    EXPECT_EQ(inspectFrame(asBytes(frame)).target, c.target);
    const std::string payload = frame.substr(32, 616);
    std::string nameField(16, '\0');
    nameField[0] = static_cast<char>(c.nameText.size());
    nameField.replace(1, c.nameText.size(), c.nameText);
    EXPECT_EQ(hex(payload.substr(0, 16)), hex(nameField));
    EXPECT_EQ(hex(payload.substr(46, 6)), hex(c.passwordBytes));
    EXPECT_EQ(payload[43], static_cast<char>(fields.groupNo));
    EXPECT_EQ(payload[45], static_cast<char>(fields.deviceNo));
    EXPECT_EQ(t.user.notices(), c.notices);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Modes, SaveCases, ::testing::Values(
    SaveCase{"BroadcastToTheDeviceUnderItsId", SaveMode::BroadcastToDevice, keep, 0x0102, "00258"},
    SaveCase{"BroadcastToAllUnderTheAnyId", SaveMode::BroadcastToAll, keep, 0xFFFF, "00258"},
    // The controller answers to its old id until it has taken the new numbers.
    SaveCase{"NewNumbersTravelUnderTheOldId", SaveMode::ToDevice,
             [](BasicConfigFields& f) { f.groupNo = 3, f.deviceNo = 4; }, 0x0102, "00258"},
    SaveCase{"ATypedOperationPasswordIsCutToSixBytes", SaveMode::ToDevice,
             [](BasicConfigFields& f) { f.opPassword = "abcdefgh"; }, 0x0102, "00258", {}, true,
             "abcdef"},
    SaveCase{"TheNameFollowsANewMac", SaveMode::ToDevice,
             [](BasicConfigFields& f) { f.mac = "00.11.22.33.ff.fe"; }, 0x0102, "65534"},
    SaveCase{"ATypedNameTheFlagReplacesIsSaidSo", SaveMode::ToDevice,
             [](BasicConfigFields& f) { f.name = "前门"; }, 0x0102, "00258",
             {"设备名称由设备标志生成为00258（sn-is-mac=1），输入的名称“前门”未保存"}},
    SaveCase{"WithoutSnIsMacTheNameIsKept", SaveMode::ToDevice, keep, 0x0102, "\xB6\xAB\xC3\xC5",
             {}, false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

namespace {

struct RefusedCase {
    const char* name;
    void (*edit)(std::optional<DeviceUIInfo>&, std::optional<BasicConfigFields>&);
    const char* message;
};

class RefusedSaves : public SaveFixture, public ::testing::WithParamInterface<RefusedCase> {};

} // namespace

TEST_P(RefusedSaves, SendNothingAndSayWhy) {
    std::optional<DeviceUIInfo> record = controllerRecord();
    std::optional<BasicConfigFields> fields = basicFieldsOf(*record);
    GetParam().edit(record, fields);
    EXPECT_EQ(SaveConfigImpl(t.s(), record, fields, SaveMode::ToDevice, toController()),
              kOperationFailed);
    EXPECT_EQ(t.user.messages(), std::vector<std::string>{GetParam().message});
    EXPECT_TRUE(t.controller.waitForFrames(1, std::chrono::milliseconds(200)).empty());
    EXPECT_FALSE(t.s().dispatcher().pendingReply.armed());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Checks, RefusedSaves, ::testing::Values(
    RefusedCase{"FieldsNotTaken", [](auto&, auto& f) { f.reset(); }, "保存界面数据失败！"},
    RefusedCase{"EmptyMask", [](auto&, auto& f) { f->mask.clear(); }, "需要指定合适的子网掩码！"},
    RefusedCase{"ZeroMask", [](auto&, auto& f) { f->mask = "0.0.0.0"; },
                "需要指定合适的子网掩码！"},
    RefusedCase{"NoRecord", [](auto& r, auto&) { r.reset(); }, "请选择要操作的记录！"},
    RefusedCase{"DeviceFlagZero", [](auto&, auto& f) { f->mac = "00.11.22.33.00.00"; },
                "设备标志不能为0！"},
    RefusedCase{"NoAddress", [](auto& r, auto&) { r->ip.clear(); },
                "设备地址非法！请选择设备记录！"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The broadcast choice: with multicast at once, else whom (Yes: the device, No: all), then the
// warning; each answer is taken by one question.
TEST(BroadcastSaveChoice, QuestionsAndTheirAnswers) {
    struct Case {
        bool multicast;
        std::vector<Answer> answers;
        std::optional<SaveMode> mode;
    };
    const Case cases[] = {{true, {}, SaveMode::BroadcastToDevice},
                          {false, {Answer::Yes, Answer::Yes}, SaveMode::BroadcastToDevice},
                          {false, {Answer::No, Answer::Yes}, SaveMode::BroadcastToAll},
                          {false, {Answer::No, Answer::No}, std::nullopt},
                          {false, {Answer::Cancel}, std::nullopt}};
    for (const Case& c : cases) {
        RecordingUserPort port;
        for (Answer a : c.answers)
            port.answer(a);
        EXPECT_EQ(chooseBroadcastSave(port, c.multicast), c.mode);
        EXPECT_EQ(port.questions().size(), c.answers.size());
        if (c.answers.size() == 2) {
            EXPECT_EQ(port.questions()[1], "可能导致多个设备有相同的MAC地址/IP地址，导致通信异常，"
                                           "确定要通过广播保存配置到网络中的所有设备吗？");
        }
    }
}

TEST(MacText, SixHexadecimalPartsJoinedByDots) {
    EXPECT_TRUE(isMacText("00.11.22.33.01.02"));
    EXPECT_TRUE(isMacText("0.1a.B.33.f.ff"));
    for (const char* bad : {"", "00.11.22.33.01", "00.11.22.33.01.02.03", "00:11:22:33:01:02",
                            "00.11.22.33.01.002", "00.11.22..01.02", "00.11.22.33.01.0g"})
        EXPECT_FALSE(isMacText(bad)) << bad;
}

namespace {

constexpr const char* kSaveWatchText =
    "配置保存失败或者操作返回超时，请重新搜索并检查是否保存成功，或者尝试使用“发送广播消息保存”！";
constexpr const char* kDoorWatchText = "门禁配置保存失败或者操作返回超时！";

struct Write {
    const char* name;
    int (*run)(ToolSession&, const DeviceUIInfo&);
    const char* watchText;
    const char* failureNotice;
};

int saveBasic(ToolSession& s, const DeviceUIInfo& r) {
    return SaveConfigImpl(s, r, basicFieldsOf(r), SaveMode::ToDevice, SearchTarget{});
}

const Write kWrites[] = {
    {"BasicSave", saveBasic, kSaveWatchText, "操作失败！"},
    {"DoorWrite", writeDoorConfig, kDoorWatchText, "保存失败！"},
};

class Watch : public SaveFixture, public ::testing::WithParamInterface<Write> {
  protected:
    Watch() { t.s().setOneShotLimits(limits::kCommand); }
    PendingReplyWatch& watch() { return t.s().dispatcher().pendingReply; }
};

} // namespace

// A write the caller waits for, through its three ends.
TEST_P(Watch, AWaitingCallerLeavesNoWatchBehind) {
    // The command line waits for the reply itself: when its wait runs out, the watch's time has
    // run out too, and the text is shown at once.
    EXPECT_EQ(GetParam().run(t.s(), controllerRecord()), kOperationFailed);
    EXPECT_EQ(t.user.messages(), std::vector<std::string>{GetParam().watchText});
    EXPECT_FALSE(watch().poll());

    // A reply disarms the watch, whatever its status; a failure is a failure.
    t.controller.setScript([](const SentFrame& f) { return std::vector{replyTo(f, 0)}; });
    EXPECT_EQ(GetParam().run(t.s(), controllerRecord()), kOperationFailed);
    EXPECT_EQ(t.user.notices(), std::vector<std::string>{GetParam().failureNotice});
    EXPECT_EQ(t.user.messages().size(), 1u);
    EXPECT_FALSE(watch().armed());

    // A write that never left disarms it too: else it would speak later about that write.
    t.user.requestCancel();
    EXPECT_EQ(GetParam().run(t.s(), controllerRecord()), kOperationFailed);
    EXPECT_FALSE(watch().armed());
}

INSTANTIATE_TEST_SUITE_P(Writes, Watch, ::testing::ValuesIn(kWrites),
                         [](const auto& info) { return std::string(info.param.name); });

// The window sends and goes on; its one-second timer polls the watch, which speaks once, five
// seconds after the latest write, with that write's text.
TEST_F(SaveFixture, TheWatchSpeaksOnceFiveSecondsAfterTheLatestWriteWithItsText) {
    EXPECT_EQ(saveBasic(t.s(), controllerRecord()), kOperationDone);
    t.clock.advance(3s);
    EXPECT_EQ(writeDoorConfig(t.s(), controllerRecord()), kOperationDone);
    PendingReplyWatch& watch = t.s().dispatcher().pendingReply;
    t.clock.advance(4s);
    EXPECT_FALSE(watch.poll());
    t.clock.advance(1s);
    EXPECT_EQ(watch.poll(), std::optional<std::string>(kDoorWatchText));
    EXPECT_FALSE(watch.poll()) << "it speaks once";
}
