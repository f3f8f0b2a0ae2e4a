#pragma once
// What a person chooses among for the remote commands: the relay submenus of the device list's
// context menu and the test actions of the self-test dialog.
#include <cstdint>

namespace quorvane {

// The submenus, one per on-board relay (door index 0..3).
inline constexpr const char* kRelayMenuCaptions[] = {"开继电器1(&A)", "开继电器2(&B)", "开继电器3",
                                                     "开继电器4"};

struct RelayChoice {
    const char* caption;
    long milliseconds; // the open time given to openDoor; from 650010 on a relay state x 10
};

// The items of each submenu, in menu order.
inline constexpr RelayChoice kRelayChoices[] = {
    {"500毫秒(&D)", 500},
    {"3秒(&E)", 3000},
    {"10秒(&F)", 10000},
    {"30秒(&G)", 30000},
    {"常开（继电器保持闭合）", 650030},
    {"常闭（继电器保持断开）", 650020},
    {"自主控制", 650010},
    {"只开（继电器闭合）", 650040},
    {"只关（继电器断开）", 650050},
};

struct TestFlag {
    int bit; // its bit in the test flag word
    const char* caption;
};

// The test actions of "设备测试", in the dialog's order.
inline constexpr TestFlag kTestFlags[] = {
    {0, "清除配置并重新启动，注意测试工作在重新启动后不会继续进行(&1)"},
    {1, "清权限(&2)"},
    {2, "清证件缓存(&3)"},
    {3, "清日志(&4)"},
    {16, "填充有规则的权限(&A)"},
    {17, "验证填充的权限(&B)"},
    {18, "随机填充权限(10万)(&C)"},
    {19, "随机填充100个权限(&D)"},
    {20, "测试权限FLASH区（以块即4K为单位检测，返回有坏扇区的块数）(&E)"},
    {21, "触发设备开始从计算机同步权限(&F)"},
    {22, "测试EEPROM（将破坏所有配置，测试完成后必须清除配置）(&G)"},
    {23, "上报索引重置为0(&H)"},
    {24, "上报索引更新到日志数量(&I)"},
    {25, "清除出入次数统计值(&J)"},
    {26, "清除设备在线状态(&K)"},
    {27, "上报出厂信息(通过调试接口)(&L)"},
};

} // namespace quorvane
