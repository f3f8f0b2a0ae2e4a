#include <gtest/gtest.h>

#include <map>

#include "protocol/code_tables.h"
#include "protocol/frame.h"
#include "test_paths.h"

namespace quorvane {
namespace {

std::string str(Bytes b) {
    return std::string(b.begin(), b.end());
}

// The sequence wraps from 65535 to one and never sends zero.
TEST(FrameBuild, SearchFrameIsPreambleAnyTargetCommandTwoAndSumTwoAndShortBuffersAreRefused) {
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
    std::array<std::uint8_t, 20> small{};
    EXPECT_FALSE(buildFrameHeader(small, 1, 2, state));
    EXPECT_FALSE(finishFrame(f, 1)); // checksum would fall outside
    state.setSequence(65535);
    EXPECT_EQ(state.nextSequence(), 65535);
    EXPECT_EQ(state.peekSequence(), 1);
    EXPECT_EQ(state.nextSequence(), 1);
    state.setSequence(0);
    EXPECT_EQ(state.nextSequence(), 1);
    EXPECT_EQ(state.nextSequence(), 2);
}

// Bytes 2..5 are scrambled; one character leaves four zero bytes to scramble; an empty box
// gives six FF unscrambled.
TEST(OperationPassword, ScramblesBytesTwoToFiveAndLandsInTheHeader) {
    ProtocolState state;
    state.fillOpPassword("7");
    EXPECT_EQ(test::hex(str(state.opPassword())), "37 00 E1 83 52 C7");
    state.fillOpPassword("");
    EXPECT_EQ(test::hex(str(state.opPassword())), "FF FF FF FF FF FF");
    state.fillOpPassword("123456789"); // only six are taken
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

// The named command codes, written from the documented code table; every other code has no
// name.
// clang-format off
const std::map<int, std::string> kCommandNames = {
    {2, "设备搜索"}, {4, "保存基本配置"}, {6, "刷新统计"}, {8, "清除统计"}, {10, "重启设备"},
    {12, "获取门禁配置"}, {14, "保存门禁配置"}, {16, "远程开门"}, {18, "设置权限"},
    {20, "删除权限"}, {22, "检查权限"}, {24, "清除权限"}, {26, "设置模式"}, {28, "设置上报"},
    {30, "获取模式"}, {32, "取内容"}, {34, "写内容"}, {36, "取门状态"}, {38, "设置时间"},
    {40, "获取时间"}, {48, "取日志"}, {50, "重新启动"}, {52, "获取权限"}, {54, "设置权限"},
    {56, "实时监控"}, {64, "清除日志"}, {66, "重新启动"}, {68, "消息确认"},
    {70, "清除缓存证件"}, {72, "清除程序"}, {80, "添加权限"}, {96, "备份配置"},
    {98, "备份出厂设置"}, {100, "恢复配置"}, {102, "恢复出厂设置"}, {112, "连接变化"},
    {128, "升级固件"}, {130, "蜂鸣器"}, {132, "扩展电源开关"}, {134, "迪文屏显示"},
    {136, "LED显示"}, {144, "条屏提示语"}, {146, "TTS放音"}, {148, "文本指令"},
    {224, "内部未知请求源"}, {225, "内部定时器"}, {226, "内部初始化"}, {227, "用户物理操作"},
    {228, "拨号或者DHCP"}, {229, "系统启动"}, {241, "填充日志测试"}, {243, "测试"},
    {252, "参数错误"}, {253, "校验错误"}, {254, "格式错误"}, {255, "非法命令"}};
// clang-format on

TEST(CodeTables, EveryCommandCodeHasItsDocumentedName) {
    ASSERT_EQ(kCommandNames.size(), 56u);
    for (int code = 0; code < 256; ++code) {
        auto it = kCommandNames.find(code);
        EXPECT_EQ(commandName(code), it == kCommandNames.end() ? "" : it->second) << code;
    }
}

} // namespace
} // namespace quorvane
