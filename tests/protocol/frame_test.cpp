#include <gtest/gtest.h>

#include "protocol/code_tables.h"
#include "protocol/frame.h"
#include "protocol/scramble.h"
#include "test_paths.h"

namespace quorvane {
namespace {

std::string str(Bytes b) { return std::string(b.begin(), b.end()); }

TEST(FrameBuild, SearchFrameIsPreambleAnyTargetCommandTwoAndSumTwo) {
    ProtocolState state;
    state.setSequence(0x0102);
    Frame33 f;
    f.fill(0xCC);
    ASSERT_TRUE(buildFrameHeader(f, kAnyTarget, 2, state));
    ASSERT_TRUE(finishFrame(f, 0));
    EXPECT_EQ(test::hex(str(f)),
              "55 55 55 55 55 55 55 55 55 55 55 55 55 55 55 55 FF FF FF FF FF FF FF FF FF FF "
              "02 01 02 00 00 00 02");
    EXPECT_EQ(state.peekSequence(), 0x0103);
}

TEST(FrameBuild, OpenDoorFrameCarriesDoorAndTensOfMillisecondsBigEndian) {
    ProtocolState state;
    state.setSequence(7);
    Frame36 f;
    buildFrameHeader(f, 0x0201, 16, state);
    ByteWriter(f, offsets::kPayload).putU8(3).putU16be(5000 / 10);
    finishFrame(f, 3);
    EXPECT_EQ(test::hex(str(Bytes(f).subspan(24))), "02 01 07 00 10 00 00 03 03 01 F4 0B");
    // 500 ms on the first relay: payload 01 00 32.
    buildFrameHeader(f, 0x0201, 16, state);
    ByteWriter(f, offsets::kPayload).putU8(1).putU16be(500 / 10);
    finishFrame(f, 3);
    EXPECT_EQ(test::hex(str(Bytes(f).subspan(32))), "01 00 32 46");
}

TEST(FrameBuild, SequenceWrapsFrom65535ToOneAndNeverSendsZero) {
    ProtocolState state;
    state.setSequence(65535);
    EXPECT_EQ(state.nextSequence(), 65535);
    EXPECT_EQ(state.peekSequence(), 1);
    EXPECT_EQ(state.nextSequence(), 1);
    state.setSequence(0);
    EXPECT_EQ(state.nextSequence(), 1);
    EXPECT_EQ(state.nextSequence(), 2);
}

TEST(FrameBuild, ShortBufferIsRefused) {
    ProtocolState state;
    std::array<std::uint8_t, 20> small{};
    EXPECT_FALSE(buildFrameHeader(small, 1, 2, state));
    Frame33 f{};
    EXPECT_FALSE(finishFrame(f, 1));  // checksum would fall outside
}

TEST(OperationPassword, EmptyBoxGivesSixFFWithoutScrambling) {
    ProtocolState state;
    state.fillOpPassword("123456");
    state.fillOpPassword("");
    auto pw = state.opPassword();
    EXPECT_EQ(test::hex(str(pw)), "FF FF FF FF FF FF");
}

TEST(OperationPassword, OneCharacterKeepsByteZeroAndScramblesFourZeroBytes) {
    ProtocolState state;
    state.fillOpPassword("7");
    EXPECT_EQ(test::hex(str(state.opPassword())), "37 00 E1 83 52 C7");
    EXPECT_EQ(scramble(0, 0x3C9E5A17), 0xC75283E1u);
}

TEST(OperationPassword, SixCharactersScrambleBytesTwoToFiveAndLandInTheHeader) {
    ProtocolState state;
    state.fillOpPassword("123456789");  // only six are taken
    EXPECT_EQ(test::hex(str(state.opPassword())), "31 32 95 F2 24 30");
    Frame33 f;
    buildFrameHeader(f, 1, 2, state);
    EXPECT_EQ(test::hex(str(Bytes(f).subspan(18, 6))), "31 32 95 F2 24 30");
}

TEST(FrameInspect, ReadsFieldsAndChecksOnlyWhatArrived) {
    ProtocolState state;
    std::string payload = "abc";
    std::string req = buildRequest(0x1234, 148, asBytes(payload), state);
    auto info = inspectFrame(asBytes(req));
    EXPECT_TRUE(info.isRequest);
    EXPECT_FALSE(info.isReply);
    EXPECT_EQ(info.target, 0x1234);
    EXPECT_EQ(info.command, 148);
    EXPECT_EQ(info.length, 3);
    EXPECT_TRUE(info.checksumOk);
    req[0x21] ^= 1;
    EXPECT_FALSE(inspectFrame(asBytes(req)).checksumOk);
    // A length field past the end is reported, not followed.
    req[30] = '\x7F';
    auto lying = inspectFrame(asBytes(req));
    EXPECT_FALSE(lying.lengthFits);
    EXPECT_FALSE(lying.checksumOk);
}

TEST(CodeTables, NamesStatusesAndErrors) {
    EXPECT_EQ(commandName(112), "连接变化");
    EXPECT_EQ(commandName(225), "内部定时器");
    EXPECT_EQ(commandName(42), "");
    EXPECT_EQ(commandName(5), "");
    EXPECT_EQ(commandName(66), "重新启动");
    EXPECT_EQ(deviceStatusText(1), "未知");
    EXPECT_EQ(deviceStatusText(246), "未知");
    EXPECT_EQ(deviceStatusText(245), "拨号或者DHCP分配IP失败");
    EXPECT_EQ(openResultText(0), "失败");
    EXPECT_EQ(openResultText(2), "未知");
    EXPECT_EQ(errorReplyText(0xFC), "参数错误！");
    EXPECT_EQ(errorReplyText(0xFD), "消息校验失败！");
    EXPECT_EQ(errorReplyText(0xFE), "消息格式非法！");
    EXPECT_EQ(errorReplyText(0xFF), "不支持的命令字！");
    EXPECT_EQ(errorReplyText(0x01), "设备返回错误，错误码未知！");
}

} // namespace
} // namespace quorvane
