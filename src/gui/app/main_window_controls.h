#pragma once
// Every control of the main window, created by buildMainWindow and owned by the window.
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QWidget;

namespace quorvane::gui {

struct MainWindowControls {
    // Search and list.
    QLineEdit* searchAddress = nullptr;
    QLineEdit* searchPort = nullptr;
    QCheckBox* mcast = nullptr;         // "网络组播"
    QComboBox* ips = nullptr;           // "搜索的网络接口："
    QPushButton* search = nullptr;      // "搜索网络中的设备(&A)"
    QCheckBox* searchOnStart = nullptr; // "启动后自动搜索"
    QCheckBox* showAll = nullptr;       // devices connected through the service
    QCheckBox* enablePipe = nullptr;    // "启用管道（修改需要重启软件/服务）"
    QLineEdit* opPass = nullptr;
    QLineEdit* filter = nullptr; // "过滤条件："
    QTreeWidget* list = nullptr;
    QLabel* status = nullptr; // progress text of long operations
    QLabel* photo = nullptr;  // the photo box of OnShowImage

    // Configuration fields.
    QLineEdit* name = nullptr;
    QLineEdit* mac = nullptr;
    QPushButton* genMac = nullptr; // "分配"
    QLineEdit* groupNo = nullptr;
    QLineEdit* deviceNo = nullptr;
    QRadioButton* ipFix = nullptr;   // "人工指定固定IP(&F)"
    QRadioButton* ipDhcp = nullptr;  // "DHCP分配（选了不能改IP）"
    QRadioButton* ipPppoe = nullptr; // "PPPOE拨号"
    QLineEdit* ip = nullptr;
    QLineEdit* mask = nullptr;
    QLineEdit* gateway = nullptr;
    QLineEdit* hostAddress = nullptr;
    QLineEdit* hostPort = nullptr;
    QLineEdit* serverAddress = nullptr;
    QLineEdit* serverPort = nullptr;
    QRadioButton* rptServer = nullptr; // "TCP服务器"
    QRadioButton* rptClient = nullptr; // "TCP客户端"
    QRadioButton* rptUdp = nullptr;    // "UDP"
    QComboBox* baud = nullptr;
    QLineEdit* doorOpenMs = nullptr;
    QComboBox* doorMode = nullptr;
    QComboBox* reportFlag = nullptr;
    QPushButton* saveRec = nullptr; // "1"
    QPushButton* loadRec = nullptr; // "2"

    // Buttons of the configuration, time and text-command operations.
    QPushButton* save = nullptr;          // "保存配置(&S)"
    QPushButton* saveBroadcast = nullptr; // "发送广播消息保存"
    QPushButton* configEx = nullptr;      // "门禁配置(&C)"
    QPushButton* configExCopy = nullptr;
    QPushButton* info = nullptr; // "摘要信息"
    QPushButton* backupConfig = nullptr;
    QPushButton* restoreConfig = nullptr;
    QPushButton* backupToFactory = nullptr;
    QPushButton* restoreFactory = nullptr;
    QPushButton* clearAll = nullptr;
    QPushButton* readTime = nullptr;
    QPushButton* setTime = nullptr;
    QPushButton* reset = nullptr;
    QPushButton* selfTest = nullptr; // "设备测试(&Q)"
    QPushButton* set485Id = nullptr; // "485读头改ID"
    QPushButton* textCmd = nullptr;  // "文本指令"
    QPushButton* finger = nullptr;   // "指纹"
    QPushButton* rights = nullptr;   // "权限配置(&P)"

    // Sound controls (model "quenmar" only).
    QPushButton* scanPrompt = nullptr;  // "刷卡提示音配置"
    QCheckBox* playDirect = nullptr;    // "直接放音"
    QPushButton* playSound = nullptr;   // "发送放音指令"
    QPushButton* uploadSound = nullptr; // "上传语音文件"
    QComboBox* playCount = nullptr;
    QComboBox* soundList = nullptr;

    // Door opening.
    QComboBox* relay = nullptr;         // door number 1..164
    QLineEdit* openTime = nullptr;      // "开门时长（毫秒）："
    QPushButton* openDoor = nullptr;    // "命令开门(&Z)"
    QPushButton* openDoorAll = nullptr; // "发送广播开所有门"

    // Log retrieval.
    QLineEdit* logStart = nullptr;    // "开始索引："
    QLineEdit* logCount = nullptr;    // "提取数量："
    QPushButton* getRec = nullptr;    // "获取"
    QPushButton* logViewer = nullptr; // "日志查看器"
    QPushButton* clearLog = nullptr;  // "清空"
    QPushButton* getIdInfo = nullptr; // "提取证件"
    QPushButton* fillLog = nullptr;   // "填充日志"
    QPushButton* queryRec = nullptr;  // "查询数据"

    // Host service.
    QPushButton* serviceStart = nullptr; // "启动服务(&B)"
    QPushButton* serviceStop = nullptr;  // "停止服务(&E)"
    QPushButton* serviceDebug = nullptr; // "直接运行(&M)"
    QLabel* serviceState = nullptr;
    QPushButton* whiteList = nullptr;     // "计算机白名单"
    QPushButton* blackList = nullptr;     // "计算机黑名单"
    QPushButton* monitor = nullptr;       // "监视界面"
    QPushButton* serviceConfig = nullptr; // "配置选项(&O)"
    QPushButton* changePass = nullptr;    // "修改密码"

    // Memory and firmware.
    QPushButton* memWriteE = nullptr;
    QPushButton* memReadE = nullptr;
    QPushButton* memWriteF = nullptr;
    QPushButton* memReadF = nullptr;
    QPushButton* memRightE = nullptr;
    QPushButton* memRightF = nullptr;
    QPushButton* memRightImage = nullptr;
    QPushButton* downloadSound = nullptr;
    QPushButton* updateFirmware = nullptr;
    QPushButton* downloadFirmware = nullptr;
    QCheckBox* upgradeAll = nullptr; // "广播升级所有设备"
    QGroupBox* debugRow = nullptr;   // shown only with `debug`
    QPushButton* backupE = nullptr;  // "备E"
    QPushButton* backupF = nullptr;  // "备F"
    QPushButton* clearE = nullptr;   // "清E"
    QPushButton* clearF = nullptr;   // "清F"
    QPushButton* loadE = nullptr;    // "加E"
    QPushButton* loadF = nullptr;    // "加F"
    QLineEdit* fileName = nullptr;
    QPushButton* browse = nullptr;    // "..."
    QPushButton* clearCode = nullptr; // "清除程序"

    // Operation controls that follow the selection alone (enableButton's plain rule).
    std::vector<QWidget*> plainOperationControls;
};

// Creates every control inside window, in groups arranged for an installer: search and list on
// top, the selected device's configuration below, operations and the service on the right.
MainWindowControls buildMainWindow(QWidget* window);

} // namespace quorvane::gui
