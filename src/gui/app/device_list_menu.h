#pragma once
// The device list's context menu "设备列表右键菜单". Its items send the same commands as the
// window's buttons; an item whose operation is not in this build yet is shown disabled.
#include <array>
#include <functional>

class QMenu;
class QWidget;

namespace quorvane::gui {

// What the items run; an item without its action is shown disabled.
struct DeviceListMenuActions {
    // The relay submenus: relay 0..3 and the item's index in kRelayChoices.
    std::function<void(int relay, int choice)> relay;
    std::function<void()> reset;           // "重新启动设备(&5)"
    std::function<void()> readTime;        // "读取时间(&6)"
    std::function<void()> setTime;         // "设置时间(&7)"
    std::function<void()> clearLog;        // "清除日志(&9)"
    std::function<void()> selfTest;        // "设备测试(&T)"
    std::function<void()> doorConfig;      // "门禁配置(&1)"
    std::function<void()> showState;       // "查看状态(&8)"
    std::function<void()> copyConfig;      // "复制配置"
    std::function<void()> rights;          // "权限配置(&2)"
    std::function<void()> copyRights;      // "复制权限"
    std::function<void()> backup;          // "设备侧备份"
    std::function<void()> restore;         // "设备侧恢复"
    std::function<void()> backupToFactory; // "设备侧备份当前配置为出厂配置"
    std::function<void()> restoreFactory;  // "设备侧从出厂配置恢复当前配置"
    std::function<void()> textCmd;         // "发送文本指令(&4)"

    // "常用配置": the three preset text commands.
    std::array<std::function<void()>, 3> presets;
};

QMenu* buildDeviceListMenu(QWidget* parent, const DeviceListMenuActions& actions);

} // namespace quorvane::gui
