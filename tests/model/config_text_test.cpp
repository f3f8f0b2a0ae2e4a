#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "basic_block_golden.h"
#include "model/config_text.h"

namespace quorvane {
namespace {

void put(DeviceUIInfo& r, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), r.doorConfig.begin() + static_cast<long>(at));
}

// The hand-built record with the area server of an extended block and two counters.
DeviceUIInfo handBuiltRecord() {
    DeviceUIInfo r = test::goldenRecord(false);
    r.serverAddress = "10.0.0.9";
    r.serverPort = 9000;
    r.statistics[0] = 1;
    r.statistics[9] = 10;
    return r;
}

const std::string kRunState =
    "TCP/WEB网络连通:是;WEBSOCK连通:否;系统有故障:否;串口设备在线:否,否,否,否,;"
    "韦根设备在线:否,否,否,否,;门已打开:否,否,否,否,;门未关报警:是,否,否,否;"
    "信号状态:否,否,否,否,否,否,否,否;声音设备开:否;";

const std::string kIdleReader = "方向:未知,继电器:0,上报:0,格式:默认,模式1:门继电器保持断开,"
                                "专用1:未启用,模式2:门继电器保持断开,专用2:未启用,"
                                "模式3:门继电器保持断开,专用3:未启用;";

// The lines every text ends with: the readers, relays, signals and time zones of the block; the
// idle signals and time zones repeat.
std::vector<std::string> blockLines() {
    std::vector<std::string> v = {
        "",
        "串口1=波特率:9600,设备:身份证全信息读头(兼容IC),方向:进门,继电器:1,上报:1,"
        "格式:原始字符串(串口),模式1:设备自主验证,专用1:未启用,模式2:门继电器保持断开,"
        "专用2:未启用,模式3:门继电器保持断开,专用3:未启用;",
        "串口2=波特率:0,设备:无设备," + kIdleReader,
        "串口3=波特率:0,设备:无设备," + kIdleReader,
        "串口4=波特率:0,设备:未知," + kIdleReader,
        "",
        "韦根1=方向:出门,继电器:2,上报:2,格式:剪切成WG26,模式1:门继电器保持断开,专用1:未启用,"
        "模式2:门继电器保持断开,专用2:未启用,模式3:刷任意卡即开,专用3:员工卡专用;",
        "韦根2=" + kIdleReader,
        "韦根3=" + kIdleReader,
        "韦根4=方向:其它" + kIdleReader.substr(std::string("方向:未知").size()),
        "",
        "继电器1=状态:自主控制,开门时长:3000,上报:上报,消防:不联动,时段状态:1=0",
        "继电器2=状态:一直闭合,开门时长:1000,上报:不上报,消防:联动,时段状态:0=3",
        "继电器3=状态:自主控制,开门时长:0,上报:不上报,消防:不联动,时段状态:0=0",
        "继电器4=状态:自主控制,开门时长:0,上报:不上报,消防:不联动,时段状态:0=0",
        "",
        "信号1=类型:门磁信号,门号1,方向/类型=未知/常闭类门磁;",
    };
    for (int i = 2; i <= 7; ++i)
        v.push_back("信号" + std::to_string(i) + "=类型:无效,门号0,方向/类型=未知/常闭类门磁;");
    v.push_back("信号8=类型:消防联动开门,门号255,方向/类型=离开/常开类门磁;");
    v.push_back("");
    v.push_back("时段1=12:00:00-23:59:58,星期0011111;预留:1,2,3");
    for (int i = 2; i <= 8; ++i)
        v.push_back("时段" + std::to_string(i) + "=00:00:00-00:00:00,星期0000000;预留:0,0,0");
    return v;
}

// Every line ends with a line break: the text splits into lines with nothing after the last.
std::vector<std::string> linesOf(const std::string& text) {
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void expectLines(const std::vector<std::string>& got, const std::vector<std::string>& want) {
    for (std::size_t i = 0; i < std::max(got.size(), want.size()); ++i)
        EXPECT_EQ(i < got.size() ? got[i] : "<missing>", i < want.size() ? want[i] : "<extra>")
            << "line " << i + 1;
}

TEST(DetailText, EveryLineOfAHandBuiltRecord) {
    std::vector<std::string> want = {
        "服务运行=服务正在运行",
        "基本信息=产品序号:2018102800000001,设备名称:东门,设备标志:00258,"
        "固件版本:V6.64-brisca-A,物理地址:00.11.22.33.01.02,设备组号:1,设备序号:2",
        "通信信息=IP地址:192.168.1.20,子网掩码:255.255.255.0,网关:192.168.1.1,"
        "电脑地址:192.168.1.100,电脑端口:50000,设备端口:65534,区域服务器:10.0.0.9:9000",
        "统计信息=权限数量:56,日志数量:1234,上报索引:7,进统计:3,出统计:2,在内统计:1,"
        "在内限制:100",
        "设备状态=系统状态:0:正常,权限格式:无姓名有有效期,上报模式:TCP客户端,分配模式:DHCP分配",
        "运行状态=" + kRunState,
        "扩展配置=网络超时:286,过闸超时:5秒,关门超时:30秒,未关门报警偏移:2,读卡:8-1-20,灯光:1,"
        "任务:17,扩展开门:16,处理模式:第10项(从1开始),自动授权:3个5分钟,延时开门:5个0.1秒,"
        "预留:0",
        "勾选选项=1;5;33;64;",
        "统计值=1,0,0,0,0,0,0,0,0,10,",
    };
    const auto block = blockLines();
    want.insert(want.end(), block.begin(), block.end());
    expectLines(linesOf(devDetailText(handBuiltRecord(), "服务正在运行")), want);
}

TEST(DetailText, NegativeCountersAndStatusTexts) {
    DeviceUIInfo r;
    put(r, 4, {0xF1, 0, 0, 0});
    put(r, 8, {0xFF, 0xFF, 0xFF, 0xFF});
    r.reportMode = 7;
    r.statistics[1] = 0xFFFFFFFF;
    auto lines = linesOf(devDetailText(r, ""));
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[0], "服务运行=");
    EXPECT_EQ(lines[3].substr(0, lines[3].find(',')), "统计信息=权限数量:-1");
    EXPECT_EQ(lines[4], "设备状态=系统状态:241:配置校验失败,权限格式:废弃,上报模式:未知,"
                        "分配模式:固定IP");
    EXPECT_EQ(lines[7], "勾选选项=");
    EXPECT_EQ(lines[8], "统计值=0,-1,0,0,0,0,0,0,0,0,");
}

TEST(DoorBlockText, TheBlocksOwnItemsThenTheSameGroups) {
    std::vector<std::string> want = {
        "统计信息=权限数量:56,日志数量:1234,上报索引:7,进统计:3,出统计:2,在内统计:1,"
        "在内限制:100",
        "设备状态=系统状态:0:正常,权限格式:无姓名有有效期",
        "运行状态=" + kRunState,
        "扩展配置=关门超时:30秒,未关门报警偏移:2,读卡:8-1-20,灯光:1,任务:17,扩展开门:16,"
        "处理模式:第10项(从1开始),自动授权:3个5分钟,延时开门:5个0.1秒,预留:0",
        "勾选选项=1;5;33;64;",
    };
    const auto block = blockLines();
    want.insert(want.end(), block.begin(), block.end());
    expectLines(linesOf(doorBlockText(handBuiltRecord().doorConfig)), want);
}

TEST(DoorBlockText, AShortBlockShowsEmptyValues) {
    std::vector<std::uint8_t> shortBlock(10, 0);
    auto lines = linesOf(doorBlockText(shortBlock));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0],
              "统计信息=权限数量:,日志数量:0,上报索引:,进统计:,出统计:,在内统计:,在内限制:");
    EXPECT_EQ(lines.back(), "时段8=-,星期;预留:");
}

} // namespace
} // namespace quorvane
