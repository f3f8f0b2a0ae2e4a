#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/main_window_controls.h"
#include "session/device_list.h"

namespace quorvane::gui {
namespace {

// Buttons may shrink to their text (the style's usual minimum is wider), which the small
// screens need.
QPushButton* button(const char* caption, const char* objectName) {
    auto* b = new QPushButton(QString::fromUtf8(caption));
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text().remove('&')) + 16);
    return b;
}

QLineEdit* edit(const char* objectName, int width = 0) {
    auto* e = new QLineEdit;
    e->setObjectName(objectName);
    if (width > 0)
        e->setMaximumWidth(width);
    return e;
}

QCheckBox* check(const char* caption, const char* objectName) {
    auto* c = new QCheckBox(QString::fromUtf8(caption));
    c->setObjectName(objectName);
    return c;
}

QRadioButton* radio(const char* caption, const char* objectName) {
    auto* r = new QRadioButton(QString::fromUtf8(caption));
    r->setObjectName(objectName);
    return r;
}

QComboBox* combo(const char* objectName, const QStringList& items = {}) {
    auto* c = new QComboBox;
    c->setObjectName(objectName);
    c->addItems(items);
    return c;
}

// A label whose mnemonic focuses its field.
QLabel* label(const char* caption, QWidget* buddy = nullptr) {
    auto* l = new QLabel(QString::fromUtf8(caption));
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

// The groups sit close together so that the whole window fits a 1024 x 768 screen.
constexpr int kSpacing = 4;

QVBoxLayout* groupLayout(QGroupBox* g) {
    auto* v = new QVBoxLayout(g);
    v->setSpacing(kSpacing);
    v->setContentsMargins(6, 4, 6, 4);
    return v;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretch = true) {
    auto* h = new QHBoxLayout;
    h->setSpacing(kSpacing);
    for (QWidget* w : widgets)
        h->addWidget(w);
    if (stretch)
        h->addStretch(1);
    return h;
}

QGroupBox* searchGroup(MainWindowControls& c) {
    auto* g = new QGroupBox(QString::fromUtf8("搜索设备"));
    c.searchAddress = edit("searchAddress", 130);
    c.searchPort = edit("searchPort", 60);
    c.mcast = check("网络组播", "mcast");
    c.ips = combo("ips");
    c.ips->setMinimumWidth(130);
    c.search = button("搜索网络中的设备(&A)", "search");
    c.searchOnStart = check("启动后自动搜索", "searchOnStart");
    c.showAll =
        check("同时列出已经连接到服务的设备(需要在启用管道的情况下启动或直接运行服务)", "showAll");
    c.enablePipe = check("启用管道（修改需要重启软件/服务）", "enablePipe");
    c.opPass = edit("opPass", 110);
    c.opPass->setEchoMode(QLineEdit::Password);
    c.filter = edit("filter", 200);

    auto* v = groupLayout(g);
    v->addLayout(
        row({label("搜索地址：", c.searchAddress), c.searchAddress, label("端口：", c.searchPort),
             c.searchPort, c.mcast, label("搜索的网络接口：", c.ips), c.ips,
             label("操作密码：", c.opPass), c.opPass, c.search}));
    v->addLayout(row({c.searchOnStart, c.enablePipe, c.showAll}));
    return g;
}

QTreeWidget* deviceList(MainWindowControls& c) {
    auto* list = new QTreeWidget;
    list->setObjectName("list");
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    // Grid lines; a styled item needs its selection colours spelled out as well.
    list->setStyleSheet("QTreeView::item { border-right: 1px solid #d0d0d0; "
                        "border-bottom: 1px solid #d0d0d0; }"
                        "QTreeView::item:selected { background: palette(highlight); "
                        "color: palette(highlighted-text); }");
    QStringList captions;
    for (const auto& col : deviceListColumnSpecs())
        captions << QString::fromUtf8(col.caption);
    list->setHeaderLabels(captions);
    list->header()->setMinimumSectionSize(10); // the right-format column is 20 pixels
    int i = 0;
    for (const auto& col : deviceListColumnSpecs())
        list->setColumnWidth(i++, col.width);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsClickable(true);
    list->header()->setSortIndicatorShown(false);
    list->setMinimumHeight(140);
    c.list = list;
    return list;
}

QGroupBox* configGroup(MainWindowControls& c) {
    auto* g = new QGroupBox(QString::fromUtf8("１.设备基本配置"));
    c.name = edit("name");
    c.mac = edit("mac");
    c.genMac = button("分配", "genMac");
    c.groupNo = edit("groupNo", 45);
    c.deviceNo = edit("deviceNo", 45);
    c.ipFix = radio("人工指定固定IP(&F)", "ipFix");
    c.ipDhcp = radio("DHCP分配（选了不能改IP）", "ipDhcp");
    c.ipPppoe = radio("PPPOE拨号", "ipPppoe");
    auto* ipChoice = new QButtonGroup(g);
    for (auto* r : {c.ipFix, c.ipDhcp, c.ipPppoe})
        ipChoice->addButton(r);
    c.ip = edit("ip");
    c.mask = edit("mask");
    c.gateway = edit("gateway");
    c.hostAddress = edit("hostAddress");
    c.hostPort = edit("hostPort", 70);
    c.serverAddress = edit("serverAddress");
    c.serverPort = edit("serverPort", 70);
    c.rptServer = radio("TCP服务器", "rptServer");
    c.rptClient = radio("TCP客户端", "rptClient");
    c.rptUdp = radio("UDP", "rptUdp");
    c.ipFix->setChecked(true);
    c.rptClient->setChecked(true);
    auto* rptChoice = new QButtonGroup(g);
    for (auto* r : {c.rptServer, c.rptClient, c.rptUdp})
        rptChoice->addButton(r);
    c.baud = combo("baud", {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"});
    c.doorOpenMs = edit("doorOpenMs", 70);
    c.doorMode = combo("doorMode", {QString::fromUtf8("常开"), QString::fromUtf8("常关"),
                                    QString::fromUtf8("自主判断"), QString::fromUtf8("刷卡即开"),
                                    QString::fromUtf8("刷卡不动作")});
    c.reportFlag = combo("reportFlag", {QString::fromUtf8("否"), QString::fromUtf8("是")});
    c.saveRec = button("1", "saveRec");
    c.loadRec = button("2", "loadRec");
    for (auto* b : {c.saveRec, c.loadRec})
        b->setMaximumWidth(24);

    c.mac->setMinimumWidth(120); // the dotted six-byte form fits whole
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(kSpacing);
    grid->setVerticalSpacing(kSpacing);
    int r = 0;
    grid->addWidget(label("设备名称：", c.name), r, 0);
    grid->addWidget(c.name, r, 1);
    grid->addWidget(label("MAC地址：", c.mac), r, 2);
    grid->addLayout(row({c.mac, c.genMac}, false), r, 3);
    grid->addWidget(label("组号/序号：", c.groupNo), r, 4);
    grid->addLayout(row({c.groupNo, c.deviceNo, c.saveRec, c.loadRec}, false), r, 5);
    ++r;
    grid->addLayout(row({c.ipFix, c.ipDhcp, c.ipPppoe}), r, 0, 1, 6);
    ++r;
    grid->addWidget(label("IP地址：", c.ip), r, 0);
    grid->addWidget(c.ip, r, 1);
    grid->addWidget(label("子网掩码：", c.mask), r, 2);
    grid->addWidget(c.mask, r, 3);
    grid->addWidget(label("网关：", c.gateway), r, 4);
    grid->addWidget(c.gateway, r, 5);
    ++r;
    grid->addWidget(label("上报地址：", c.hostAddress), r, 0);
    grid->addWidget(c.hostAddress, r, 1);
    grid->addWidget(label("上报端口：", c.hostPort), r, 2);
    grid->addWidget(c.hostPort, r, 3);
    grid->addLayout(row({c.rptServer, c.rptClient, c.rptUdp}), r, 4, 1, 2);
    ++r;
    grid->addWidget(label("区域服务器：", c.serverAddress), r, 0);
    grid->addWidget(c.serverAddress, r, 1);
    grid->addWidget(label("服务器端口：", c.serverPort), r, 2);
    grid->addWidget(c.serverPort, r, 3);
    grid->addWidget(label("波特率：", c.baud), r, 4);
    grid->addWidget(c.baud, r, 5);
    ++r;
    grid->addWidget(label("开门时长：", c.doorOpenMs), r, 0);
    grid->addWidget(c.doorOpenMs, r, 1);
    grid->addWidget(label("门模式：", c.doorMode), r, 2);
    grid->addWidget(c.doorMode, r, 3);
    grid->addWidget(label("是否上报：", c.reportFlag), r, 4);
    grid->addWidget(c.reportFlag, r, 5);
    // The three field columns share the width; the labels keep theirs.
    for (int col : {1, 3, 5}) {
        grid->setColumnStretch(col, 1);
        grid->setColumnMinimumWidth(col, 110); // a dotted address fits whole
    }

    c.save = button("保存配置(&S)", "save");
    c.saveBroadcast = button("发送广播消息保存", "saveBroadcast");
    c.configEx = button("门禁配置(&C)", "configEx");
    c.configExCopy = button("复制配置", "configExCopy");
    c.info = button("摘要信息", "info");
    c.backupConfig = button("备份配置", "backupConfig");
    c.restoreConfig = button("恢复配置", "restoreConfig");
    c.backupToFactory = button("备份为出厂设置", "backupToFactory");
    c.restoreFactory = button("恢复出厂设置", "restoreFactory");
    c.clearAll = button("清除所有数据", "clearAll");
    c.readTime = button("读取时间", "readTime");
    c.setTime = button("设置时间", "setTime");
    c.reset = button("重启设备", "reset");
    c.selfTest = button("设备测试(&Q)", "selfTest");
    c.set485Id = button("485读头改ID", "set485Id");
    c.textCmd = button("文本指令", "textCmd");
    c.finger = button("指纹", "finger");
    c.scanPrompt = button("刷卡提示音配置", "scanPrompt");
    c.playCount = combo("playCount", {"1", "2", "3", "4", "5"});
    c.soundList = combo("soundList");
    for (int i = 0; i < 128; ++i)
        c.soundList->addItem(QString::number(i));
    c.playDirect = check("直接放音", "playDirect");
    c.playSound = button("发送放音指令", "playSound");
    c.uploadSound = button("上传语音文件", "uploadSound");

    auto* v = groupLayout(g);
    v->addLayout(grid);
    v->addLayout(row({c.save, c.saveBroadcast, c.configEx, c.configExCopy, c.info, c.clearAll}));
    v->addLayout(row({c.backupConfig, c.restoreConfig, c.backupToFactory, c.restoreFactory}));
    v->addLayout(
        row({c.readTime, c.setTime, c.reset, c.selfTest, c.set485Id, c.textCmd, c.finger}));
    v->addLayout(row({c.scanPrompt, label("次数："), c.playCount, label("语音："), c.soundList,
                      c.playDirect, c.playSound, c.uploadSound}));
    return g;
}

QGroupBox* doorGroup(MainWindowControls& c) {
    auto* g = new QGroupBox(QString::fromUtf8("２.手工发送指令开门（5-164为串口扩展继电器）"));
    c.relay = combo("relay");
    for (int i = 1; i <= 164; ++i)
        c.relay->addItem(QString::number(i));
    c.openTime = edit("openTime", 80);
    c.openTime->setText("3000");
    c.openDoor = button("命令开门(&Z)", "openDoor");
    c.openDoorAll = button("发送广播开所有门", "openDoorAll");
    auto* v = groupLayout(g);
    v->addLayout(
        row({label("继电器："), c.relay, label("开门时长（毫秒）：", c.openTime), c.openTime}));
    v->addLayout(row({c.openDoor, c.openDoorAll}));
    return g;
}

QGroupBox* logGroup(MainWindowControls& c) {
    auto* g = new QGroupBox(QString::fromUtf8("３.从控制器提取日志数据"));
    c.logStart = edit("logStart", 60);
    c.logCount = edit("logCount", 60);
    c.getRec = button("获取", "getRec");
    c.logViewer = button("日志查看器", "logViewer");
    c.clearLog = button("清空", "clearLog");
    c.getIdInfo = button("提取证件", "getIdInfo");
    c.fillLog = button("填充日志", "fillLog");
    c.queryRec = button("查询数据", "queryRec");
    c.rights = button("权限配置(&P)", "rights");
    auto* v = groupLayout(g);
    v->addLayout(row({label("开始索引：", c.logStart), c.logStart, label("提取数量：", c.logCount),
                      c.logCount}));
    v->addLayout(row({c.getRec, c.logViewer, c.clearLog, c.getIdInfo}));
    v->addLayout(row({c.fillLog, c.queryRec, c.rights}));
    return g;
}

QGroupBox* serviceGroup(MainWindowControls& c) {
    auto* g = new QGroupBox(QString::fromUtf8("４.消息接收服务"));
    c.serviceStart = button("启动服务(&B)", "serviceStart");
    c.serviceStop = button("停止服务(&E)", "serviceStop");
    c.serviceDebug = button("直接运行(&M)", "serviceDebug");
    c.serviceState = new QLabel(QString::fromUtf8("服务状态：停止"));
    c.serviceState->setObjectName("serviceState");
    c.whiteList = button("计算机白名单", "whiteList");
    c.blackList = button("计算机黑名单", "blackList");
    c.monitor = button("监视界面", "monitor");
    c.serviceConfig = button("配置选项(&O)", "serviceConfig");
    c.changePass = button("修改密码", "changePass");
    auto* v = groupLayout(g);
    v->addLayout(row({c.serviceStart, c.serviceStop, c.serviceDebug}));
    v->addLayout(row({c.whiteList, c.blackList, c.monitor}));
    v->addLayout(row({c.serviceConfig, c.changePass, c.serviceState}));
    return g;
}

QGroupBox* memoryGroup(MainWindowControls& c) {
    auto* g = new QGroupBox(QString::fromUtf8("５.存储器及固件"));
    c.memWriteE = button("写EEPROM", "memWriteE");
    c.memReadE = button("读EEPROM", "memReadE");
    c.memWriteF = button("写FLASH", "memWriteF");
    c.memReadF = button("读FLASH", "memReadF");
    c.memRightE = button("写权限区E", "memRightE");
    c.memRightF = button("写权限区F", "memRightF");
    c.memRightImage = button("写权限镜像", "memRightImage");
    c.downloadSound = button("读取语音", "downloadSound");
    c.updateFirmware = button("升级固件", "updateFirmware");
    c.downloadFirmware = button("读取固件", "downloadFirmware");
    c.upgradeAll = check("广播升级所有设备", "upgradeAll");

    c.debugRow = new QGroupBox;
    c.debugRow->setObjectName("debugRow");
    c.debugRow->setFlat(true);
    c.backupE = button("备E", "backupE");
    c.backupF = button("备F", "backupF");
    c.clearE = button("清E", "clearE");
    c.clearF = button("清F", "clearF");
    c.loadE = button("加E", "loadE");
    c.loadF = button("加F", "loadF");
    c.fileName = edit("fileName");
    c.browse = button("...", "browse");
    c.clearCode = button("清除程序", "clearCode");
    for (auto* b : {c.backupE, c.backupF, c.clearE, c.clearF, c.loadE, c.loadF, c.browse})
        b->setMaximumWidth(40);
    auto* d = new QHBoxLayout(c.debugRow);
    d->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w :
         std::initializer_list<QWidget*>{c.backupE, c.backupF, c.clearE, c.clearF, c.loadE, c.loadF,
                                         c.fileName, c.browse, c.clearCode})
        d->addWidget(w);

    auto* v = groupLayout(g);
    v->addLayout(
        row({c.memWriteE, c.memReadE, c.memWriteF, c.memReadF, c.downloadSound, c.memRightE,
             c.memRightF, c.memRightImage, c.updateFirmware, c.downloadFirmware, c.upgradeAll}));
    v->addWidget(c.debugRow);
    return g;
}

} // namespace

MainWindowControls buildMainWindow(QWidget* window) {
    MainWindowControls c;
    auto* top = new QVBoxLayout(window);
    top->setSpacing(kSpacing);
    top->setContentsMargins(6, 6, 6, 6);

    // Search and filter on the left of the photo box; the progress text beside the filter.
    c.photo = new QLabel;
    c.photo->setObjectName("photo");
    c.photo->setFixedSize(102, 126);
    c.photo->setFrameShape(QFrame::Box);
    c.photo->setScaledContents(true);
    c.status = new QLabel;
    c.status->setObjectName("status");
    auto* searchColumn = new QVBoxLayout;
    searchColumn->setSpacing(kSpacing);
    searchColumn->addWidget(searchGroup(c));
    auto* filterRow = row({label("过滤条件：", c.filter), c.filter, c.status}, false);
    filterRow->setStretch(2, 1);
    searchColumn->addLayout(filterRow);
    auto* head = new QHBoxLayout;
    head->setSpacing(kSpacing);
    head->addLayout(searchColumn, 1);
    head->addWidget(c.photo, 0, Qt::AlignTop);
    top->addLayout(head);
    top->addWidget(deviceList(c), 1);

    // Below the list: the selected device's configuration, and beside it the door, log and
    // service groups; memory and firmware take one row across the window.
    auto* lower = new QHBoxLayout;
    lower->setSpacing(kSpacing);
    lower->addWidget(configGroup(c), 1);
    auto* right = new QVBoxLayout;
    right->setSpacing(kSpacing);
    right->addWidget(doorGroup(c));
    right->addWidget(logGroup(c));
    right->addWidget(serviceGroup(c));
    right->addStretch(1);
    lower->addLayout(right);
    top->addLayout(lower);
    top->addWidget(memoryGroup(c));

    c.plainOperationControls = {c.groupNo,
                                c.deviceNo,
                                c.hostAddress,
                                c.hostPort,
                                c.serverAddress,
                                c.serverPort,
                                c.rptServer,
                                c.rptClient,
                                c.rptUdp,
                                c.baud,
                                c.doorOpenMs,
                                c.doorMode,
                                c.reportFlag,
                                c.saveRec,
                                c.save,
                                c.saveBroadcast,
                                c.configEx,
                                c.configExCopy,
                                c.info,
                                c.backupConfig,
                                c.restoreConfig,
                                c.backupToFactory,
                                c.restoreFactory,
                                c.clearAll,
                                c.readTime,
                                c.setTime,
                                c.reset,
                                c.selfTest,
                                c.set485Id,
                                c.textCmd,
                                c.finger,
                                c.rights,
                                c.relay,
                                c.openTime,
                                c.getRec,
                                c.logViewer,
                                c.clearLog,
                                c.getIdInfo,
                                c.fillLog,
                                c.memWriteE,
                                c.memReadE,
                                c.memWriteF,
                                c.memReadF,
                                c.memRightE,
                                c.memRightF,
                                c.memRightImage,
                                c.downloadSound,
                                c.updateFirmware,
                                c.downloadFirmware,
                                c.upgradeAll,
                                c.backupE,
                                c.backupF,
                                c.clearE,
                                c.clearF,
                                c.loadE,
                                c.loadF,
                                c.clearCode};
    return c;
}

} // namespace quorvane::gui
