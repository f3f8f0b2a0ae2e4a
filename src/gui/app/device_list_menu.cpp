#include "app/device_list_menu.h"

#include <iterator>

#include <QMenu>

#include "remote/remote_choices.h"
#include "textcmd/text_presets.h"

namespace quorvane::gui {
namespace {

QAction* item(QMenu* menu, const char* caption, const std::function<void()>& action = {}) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setEnabled(static_cast<bool>(action));
    if (action)
        QObject::connect(a, &QAction::triggered, menu, action);
    return a;
}

QMenu* submenu(QMenu* menu, const char* caption) {
    return menu->addMenu(QString::fromUtf8(caption));
}

} // namespace

QMenu* buildDeviceListMenu(QWidget* parent, const DeviceListMenuActions& actions) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromUtf8("设备列表右键菜单"));
    item(menu, "门禁配置(&1)", actions.doorConfig);
    item(menu, "权限配置(&2)", actions.rights);
    item(menu, "查看日志(&3)");
    item(menu, "发送文本指令(&4)", actions.textCmd);
    item(menu, "重新启动设备(&5)", actions.reset);
    item(menu, "读取时间(&6)", actions.readTime);
    item(menu, "设置时间(&7)", actions.setTime);
    item(menu, "查看状态(&8)", actions.showState);
    item(menu, "清除日志(&9)", actions.clearLog);
    menu->addSeparator();

    for (int r = 0; r < static_cast<int>(std::size(kRelayMenuCaptions)); ++r) {
        QMenu* relay = submenu(menu, kRelayMenuCaptions[r]);
        for (int c = 0; c < static_cast<int>(std::size(kRelayChoices)); ++c) {
            std::function<void()> open;
            if (actions.relay)
                open = [run = actions.relay, r, c] { run(r, c); };
            item(relay, kRelayChoices[c].caption, open);
        }
    }
    menu->addSeparator();

    QMenu* copy = submenu(menu, "在设备间复制");
    item(copy, "复制配置", actions.copyConfig);
    item(copy, "复制权限", actions.copyRights);
    QMenu* backup = submenu(menu, "配置备份/恢复");
    item(backup, "设备侧备份", actions.backup);
    item(backup, "设备侧恢复", actions.restore);
    item(backup, "设备侧备份当前配置为出厂配置", actions.backupToFactory);
    item(backup, "设备侧从出厂配置恢复当前配置", actions.restoreFactory);
    item(backup, "软件侧备份（请进入门禁配置使用最下面的按钮）");
    item(backup, "软件侧恢复（请进入门禁配置使用最下面的按钮）");
    menu->addSeparator();
    item(menu, "设备测试(&T)", actions.selfTest);
    QMenu* presets = submenu(menu, "常用配置");
    for (std::size_t i = 0; i < kTextPresets.size(); ++i)
        item(presets, kTextPresets[i].caption, actions.presets[i]);
    return menu;
}

} // namespace quorvane::gui
