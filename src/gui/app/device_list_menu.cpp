#include "app/device_list_menu.h"

#include <QMenu>

namespace quorvane::gui {
namespace {

QAction* item(QMenu* menu, const char* caption, bool enabled = false) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setEnabled(enabled);
    return a;
}

QMenu* submenu(QMenu* menu, const char* caption) {
    return menu->addMenu(QString::fromUtf8(caption));
}

} // namespace

QMenu* buildDeviceListMenu(QWidget* parent, const OpenDoorHandler& openDoor) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromUtf8("设备列表右键菜单"));
    item(menu, "门禁配置(&1)");
    item(menu, "权限配置(&2)");
    item(menu, "查看日志(&3)");
    item(menu, "发送文本指令(&4)");
    item(menu, "重新启动设备(&5)");
    item(menu, "读取时间(&6)");
    item(menu, "设置时间(&7)");
    item(menu, "查看状态(&8)");
    item(menu, "清除日志(&9)");
    menu->addSeparator();

    static const char* const kRelays[] = {"开继电器1(&A)", "开继电器2(&B)", "开继电器3",
                                          "开继电器4"};
    static const char* const kChoices[] = {"500毫秒",
                                           "3秒",
                                           "10秒",
                                           "30秒",
                                           "常开（继电器保持闭合）",
                                           "常闭（继电器保持断开）",
                                           "自主控制",
                                           "只开（继电器闭合）",
                                           "只关（继电器断开）"};
    for (int door = 0; door < 4; ++door) {
        QMenu* relay = submenu(menu, kRelays[door]);
        for (int c = 0; c < 9; ++c) {
            QAction* a = item(relay, kChoices[c], static_cast<bool>(openDoor));
            int value = kRelayMenuValues[c];
            if (openDoor)
                QObject::connect(a, &QAction::triggered, menu,
                                 [openDoor, door, value] { openDoor(door, value); });
        }
    }
    menu->addSeparator();

    QMenu* copy = submenu(menu, "在设备间复制");
    item(copy, "复制配置");
    item(copy, "复制权限");
    QMenu* backup = submenu(menu, "配置备份/恢复");
    item(backup, "设备侧备份");
    item(backup, "设备侧恢复");
    item(backup, "设备侧备份当前配置为出厂配置");
    item(backup, "设备侧从出厂配置恢复当前配置");
    item(backup, "软件侧备份（请进入门禁配置使用最下面的按钮）");
    item(backup, "软件侧恢复（请进入门禁配置使用最下面的按钮）");
    menu->addSeparator();
    item(menu, "设备测试(&T)");
    QMenu* presets = submenu(menu, "常用配置");
    item(presets, "双门双向（开门时间300毫秒）");
    item(presets, "双门双向（开门时间3秒）");
    item(presets, "四门单向（开门时间3秒）");
    return menu;
}

} // namespace quorvane::gui
