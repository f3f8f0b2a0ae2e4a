#include "app/tooltips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QWidget>

#include "app/main_window_controls.h"

namespace quorvane::gui {
namespace {

constexpr int kToolTipDelayMs = 1000;
constexpr int kToolTipShowMs = 20000;

class ToolTipTiming : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return kToolTipDelayMs;
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

} // namespace

std::vector<std::pair<QWidget*, const char*>> tooltipTable(const MainWindowControls& c) {
    return {
        {c.searchAddress, "搜索目标地址，可以是广播地址或者设备的IP地址"},
        {c.searchPort, "设备管理端口，默认是65534"},
        {c.mcast, "是否允许通过组播搜索设备，使用组播可以实现跨网段或者路由器搜索设备"},
        {c.ips, "用于搜索的本地网络地址"},
        {c.search, "使用配置的条件和参数搜索网络中的设备"},
        {c.opPass, "设备的操作密码，空表示使用默认密码。对于修改了密码的设备，需要输入正确的密码才"
                   "能搜索到。如果设备配置了选项18，则无论是否提供密码都能被搜索到。"},
        {c.filter, "输入条件对列表中的设备进行过滤，可以是名称/IP地址/MAC地址/设备标志等内容"},
        {c.list, "左键单击选中后下面将显示选中设备的详细信息，左键双击直接进入门禁配置，右键双击可"
                 "查看设备详细配置信息。"},
        {c.hostPort, "默认为50000，注意关闭电脑防火墙及360，或者开通此端口。如果是通过HTTP连接网页"
                     "服务器，可能是使用80端口"},
        {c.serverPort, "区域服务器或者WEBSOCKET服务端口"},
        {c.save, "将修改的配置保存到网络中的控制器上"},
        {c.saveBroadcast, "通过组播消息将修改的配置保存到网络中的控制器上，对于直接通信不上的设备（"
                          "如跨网段）此功能可能更有效。注意网络中有多张控制器时，不要广播到所有设备"
                          "，否则会将所有控制器修改为同样的配置。"},
        {c.setTime, "更新控制器的时间为电脑时间"},
        {c.backupConfig, "将设备的当前配置备份一份备用，即使设备重新初始化，也可以通过“恢复备份”来"
                         "恢复。如果多次备份将保留最后一次备份的数据。"},
        {c.restoreConfig, "从备份中恢复配置，使用此功能前必须先备份，才可能有用来恢复的数据"},
        {c.backupToFactory, "将设备的当前配置备份为“出厂设置”，即使设备重新初始化，也可以通过“恢复"
                            "出厂设置”来恢复。如果多次备份将保留最后一次备份的数据。"},
        {c.restoreFactory, "从备份的出厂设置中恢复配置，使用此功能前必须先使用“备份为出厂设置”，才"
                           "可能有用来恢复的数据"},
        {c.textCmd, "向控制器发送文本的配置指令"},
        {c.scanPrompt, "对于语音板，配置刷卡的提示音"},
        {c.info, "显示设备的配置详细信息"},
        {c.rptClient, "设备作为客户端自动连接到管理主机。此设置为默认值"},
        {c.ipFix, "人工为每个控制器指定固定的IP地址"},
        {c.ipDhcp, "控制器通过局域网中的DHCP服务器获取动态分配的IP地址。如果没有DHCP服务器，设备在"
                   "启动后可能会卡住一小段时间运行灯才会开始闪烁"},
        {c.serviceStart,
         "以后台运行的方式启动控制器消息接收服务，并且在下次启动电脑时自动启动此服务。"},
        {c.serviceStop, "停止控制器消息接收服务，并且在下次启动电脑时不会再自动启动此服务。"},
        {c.serviceDebug,
         "直接运行消息接收服务程序，将显示出程序的控制台运行窗口，可以查看设备的通信消息。通常用于"
         "调试模式。服务程序实际是软件目录中的Tavrin.exe，手工启动此软件可以达到同样的效果。"},
        {c.serviceState,
         "显示当前电脑上服务是否正在运行，也可以通过在任务管理器中查找Tavrin.exe进程来判断"},
        {c.whiteList,
         "在服务已经启动的情况下，如果设备的上报地址配置当前电脑，则服务会使用计算机白名单中的名称"
         "对刷卡记录进行验证（和配置有关，默认为“是”），如果验证通过会尝试自动开门"},
        {c.blackList, "在服务已经启动的情况下，如果设备的上报地址配置当前电脑，则服务会使用计算机黑"
                      "名单中的名称对刷卡记录进行验证（和配置有关，默认为“是”），如果验证通过，即使"
                      "此卡号在白名单中，也会禁止开门"},
        {c.monitor, "在服务已经启动的情况下，启动监控画面可以通过对话框界面查看到刷卡的实时信息，并"
                    "可以人工进行远程开门"},
        {c.queryRec, "查询服务接收到的历史刷卡数据"},
        {c.serviceConfig, "工具软件及服务运行使用到的配置信息"},
        {c.changePass, "修改软件的启动密码"},
        {c.logStart,
         "要从控制器提取的日志或证件的开始索引。日志总数可以通过上面列表中的“日志数量”得知"},
        {c.logCount, "要提取的日志或证件条数。日志总数可以通过上面列表中的“日志数量”得知。开始索引"
                     "加日志数量超过了总日志数量，提取出来的日志记录中类型会显示为“没有数据”"},
        {c.getRec, "从控制器提取日志"},
        {c.logViewer, "查看控制器上的日志"},
        {c.clearLog, "清除控制器上的所有日志"},
        {c.getIdInfo, "从控制器提取缓存的证件信息，提取时注意证件缓存范围"},
        {c.rights, "配置控制器权限，可以实现添加、删除、清空、批量上报权限"},
        {c.relay, "手工发送命令开门的继电器"},
        {c.openDoorAll, "给网络中所有设备发送开门命令，用于测试，或者批量控制开门"},
        {c.openTime, "手工发送命令开门的时长，单位为毫秒"},
    };
}

// Rich text lets the tooltip wrap within its maximum width.
void registerTooltips(const MainWindowControls& c) {
    for (const auto& [widget, text] : tooltipTable(c)) {
        widget->setToolTip("<p>" + QString::fromUtf8(text).toHtmlEscaped() + "</p>");
        widget->setToolTipDuration(kToolTipShowMs);
    }
}

void applyTooltipStyle(QApplication& app) {
    app.setStyle(new ToolTipTiming);
    app.setStyleSheet(app.styleSheet() +
                      "QToolTip { background-color: black; color: rgb(255, 0, 0); "
                      "border: 1px solid black; max-width: 300px; }");
}

} // namespace quorvane::gui
