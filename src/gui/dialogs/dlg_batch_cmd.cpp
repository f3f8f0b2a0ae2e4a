#include "dialogs/dlg_batch_cmd.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "session/user_port.h"
#include "textcmd/command_files.h"
#include "textcmd/text_commands.h"

namespace quorvane::gui {
namespace {

QString q(const char* text) {
    return QString::fromUtf8(text);
}

QTableWidget* deviceTable(const char* name) {
    auto* t = new QTableWidget(0, 3);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels({q("标志"), q("名称"), q("IP地址")});
    t->setColumnWidth(0, 50);
    t->setColumnWidth(1, 120);
    t->setColumnWidth(2, 120);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setShowGrid(true);
    t->verticalHeader()->hide();
    t->setMinimumWidth(300);
    return t;
}

void fill(QTableWidget* table, const std::vector<DeviceUIInfo>& devices) {
    table->setRowCount(static_cast<int>(devices.size()));
    for (int r = 0; r < table->rowCount(); ++r) {
        const DeviceUIInfo& d = devices[static_cast<std::size_t>(r)];
        const QString cells[] = {QString::number(d.getTargetId()), QString::fromStdString(d.name),
                                 QString::fromStdString(d.ip)};
        for (int c = 0; c < 3; ++c)
            table->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
}

QPushButton* button(const char* caption, const char* name) {
    auto* b = new QPushButton(q(caption));
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QComboBox* commandCombo(const char* name, const std::vector<std::string>& lines) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    for (const std::string& line : lines)
        box->addItem(QString::fromStdString(line));
    box->setCurrentIndex(-1);
    return box;
}

constexpr const char* kSequenceHelp =
    "６.{SEQxxx}\t表示从xxx开始递增的数字序列，如{SEQ5}表示5,6,7,8...，"
    "setIp=192.168.0.{SEQ100};即可实现对多个设备指定192.168.0.100开始的IP";

std::string helpText(const char* heading, std::initializer_list<const char*> entries) {
    std::string text = std::string(heading) + "\r\n\r\n";
    for (const char* entry : entries)
        text += std::string(entry) + "\r\n";
    return text;
}

} // namespace

CDlgBatchCmd::CDlgBatchCmd(const std::vector<DeviceUIInfo>& devices, std::uint16_t selectedId,
                           const Settings& settings, ToolLog* log, UserPort& port, QWidget* parent)
    : QDialog(parent), settings_(settings), log_(log), port_(port) {
    setObjectName("CDlgBatchCmd");
    setWindowTitle(q("向控制板发送文本指令"));
    for (const DeviceUIInfo& d : devices) {
        if (!textTargetAllowed(d))
            continue;
        (selectedId != 0 && d.getTargetId() == selectedId ? targets_ : available_).push_back(d);
    }
    availableList_ = deviceTable("availableList");
    targetList_ = deviceTable("targetList");
    command_ = new QLineEdit;
    command_->setObjectName("command");
    std::vector<std::string> history = readCommandFile(settings_, kHistoryFileName);
    history_ = commandCombo("history", {history.rbegin(), history.rend()});
    references_ = commandCombo("references", readCommandFile(settings_, kReferenceFileName));
    for (QComboBox* box : {history_, references_})
        connect(box, &QComboBox::activated, this,
                [this, box](int index) { command_->setText(box->itemText(index)); });

    auto* add = button("添加到列表>>", "add");
    auto* remove = button("从列表删除<<", "remove");
    auto* addAll = button("添加所有>>", "addAll");
    auto* removeAll = button("删除所有<<", "removeAll");
    auto* cmdHelp = button("可用指令说明", "cmdHelp");
    auto* varHelp = button("可用变量说明", "varHelp");
    run_ = button("运行(&O)", "run");
    runBroadcast_ = button("发送广播消息运行", "runBroadcast");
    auto* cancel = button("取消(&C)", "cancel");
    connect(add, &QPushButton::clicked, this, &CDlgBatchCmd::OnBnClickedAdd);
    connect(remove, &QPushButton::clicked, this, &CDlgBatchCmd::OnBnClickedRemove);
    connect(addAll, &QPushButton::clicked, this, &CDlgBatchCmd::OnBnClickedAddAll);
    connect(removeAll, &QPushButton::clicked, this, &CDlgBatchCmd::OnBnClickedRemoveAll);
    connect(availableList_, &QTableWidget::cellDoubleClicked, this, &CDlgBatchCmd::OnBnClickedAdd);
    connect(targetList_, &QTableWidget::cellDoubleClicked, this, &CDlgBatchCmd::OnBnClickedRemove);
    connect(cmdHelp, &QPushButton::clicked, this, &CDlgBatchCmd::OnBnClickedCmdHelp);
    connect(varHelp, &QPushButton::clicked, this, &CDlgBatchCmd::OnBnClickedVarHelp);
    connect(run_, &QPushButton::clicked, this, &CDlgBatchCmd::OnBnClickedOk);
    connect(runBroadcast_, &QPushButton::clicked, this, &CDlgBatchCmd::OnBnClickedBroadcast);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton* b : {add, remove, addAll, removeAll})
        moves->addWidget(b);
    moves->addStretch();
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(q("所有控制板(双击添加到目标列表)：")), 0, 0);
    grid->addWidget(availableList_, 1, 0);
    grid->addLayout(moves, 1, 1);
    grid->addWidget(new QLabel(q("目标控制器列表(双击移除)：")), 0, 2);
    grid->addWidget(targetList_, 1, 2);
    auto* helps = new QHBoxLayout;
    helps->addWidget(new QLabel(q("２.输入文本指令内容：")));
    helps->addStretch();
    helps->addWidget(cmdHelp);
    helps->addWidget(varHelp);
    auto* actions = new QHBoxLayout;
    actions->addStretch();
    for (QPushButton* b : {run_, runBroadcast_, cancel})
        actions->addWidget(b);
    auto* v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addLayout(helps);
    v->addWidget(command_);
    v->addWidget(new QLabel(q("指令发送历史（选择即自动粘贴到上面指令内容框中）")));
    v->addWidget(history_);
    v->addWidget(new QLabel(q("内置参考指令（选择即自动粘贴到上面指令内容框中）")));
    v->addWidget(references_);
    v->addLayout(actions);
    redraw();
}

std::string CDlgBatchCmd::command() const {
    return command_->text().toStdString();
}

void CDlgBatchCmd::redraw() {
    fill(availableList_, available_);
    fill(targetList_, targets_);
}

void CDlgBatchCmd::move(QTableWidget* list, std::vector<DeviceUIInfo>& from,
                        std::vector<DeviceUIInfo>& to) {
    const int row = list->currentRow();
    if (row < 0 || !list->item(row, 0)->isSelected()) {
        port_.showMessage("请选择要操作的记录！");
        return;
    }
    to.push_back(from[static_cast<std::size_t>(row)]);
    from.erase(from.begin() + row);
    redraw();
}

void CDlgBatchCmd::OnBnClickedAdd() {
    move(availableList_, available_, targets_);
}

void CDlgBatchCmd::OnBnClickedRemove() {
    move(targetList_, targets_, available_);
}

void CDlgBatchCmd::OnBnClickedAddAll() {
    targets_.insert(targets_.end(), available_.begin(), available_.end());
    available_.clear();
    redraw();
}

void CDlgBatchCmd::OnBnClickedRemoveAll() {
    available_.insert(available_.end(), targets_.begin(), targets_.end());
    targets_.clear();
    redraw();
}

void CDlgBatchCmd::OnBnClickedCmdHelp() {
    port_.showMessage(helpText("常用指令如下，多个指令间以分号分隔。详细信息请参考开发包中的"
                               "《二次开发说明书-使用SDK开发包.doc》：",
                               {"１.open[1-4]\t开门（1-4号）", "２.settime\t设置时间",
                                "３.setIp\t\t修改设备IP地址，如setIp=192.168.0.10",
                                "４.setIpAlloc\t修改设备IP分配方式，0为固定IP,1为DHCP分配"}));
}

void CDlgBatchCmd::OnBnClickedVarHelp() {
    port_.showMessage(helpText(
        "当前界面支持的内置变量以大括号为界，格式形如{xxx}，在运行前变量将由处理时每个设备的实际"
        "内容替代。当前支持的变量有：",
        {"１.{DEVID_LAST2}\t表示设备标志的最后2位",
         "２.{SYSTIME}\t当前电脑时间，用于修改控制器时间",
         "３.{RAND1}\t表示1字节随机数，即0-255间的随机值",
         "４.{RAND2}\t表示2字节随机数，即0-65534间的随机值",
         "５.{RAND4}\t表示4字节随机数，即0-4294967295间的随机值", kSequenceHelp}));
}

void CDlgBatchCmd::OnBnClickedOk() {
    if (targets_.empty()) {
        port_.showMessage("至少要选择一个目标控制板！");
        broadcast_ = false;
        return;
    }
    if (command_->text().isEmpty()) {
        port_.showMessage("文本指令不能为空！");
        broadcast_ = false;
        return;
    }
    rememberCommand(settings_, log_, command());
    accept();
}

void CDlgBatchCmd::OnBnClickedBroadcast() {
    broadcast_ = true;
    OnBnClickedOk();
}

} // namespace quorvane::gui
