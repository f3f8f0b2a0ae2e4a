#include "dialogs/dlg_config_center.h"

#include <optional>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "dialogs/config_widgets.h"
#include "dialogs/dlg_config_com.h"
#include "dialogs/dlg_config_relayer.h"
#include "dialogs/dlg_config_signal.h"
#include "dialogs/dlg_config_timer_task.h"
#include "dialogs/dlg_config_timezone.h"
#include "dialogs/dlg_config_wg.h"
#include "infra/settings.h"
#include "model/config_table.h"
#include "model/enums.h"
#include "model/record_file.h"
#include "model/status_word.h"
#include "rights/right_settings.h"

namespace quorvane::gui {
namespace {

constexpr const char* kBackupFilter = "cfg Files(*.cfg)|*.cfg|All Files(*.*)|*.*||";

constexpr const char* kReadTimesHelp =
    "三个值分别为：\n1.读身份证详细信息时长，证件信息读取不完整时延长此值。\n"
    "2.读取成功后暂停时长，特殊情况下防止设备对指令不响应。\n"
    "3.操作检测时长，控制所有命令及操作超时时长。";

// The dialog's processing-mode list: six named modes, then the reserved ones.
std::vector<std::string> procModeChoices() {
    std::vector<std::string> texts{"默认",
                                   "二维码ABB",
                                   "Velmora图书馆",
                                   "自助登记有屏显和黑名单",
                                   "身份证及市民卡开门",
                                   "进入信号触发开门关灯"};
    for (int n = 4; n <= 30; ++n)
        texts.push_back("预留" + std::to_string(n));
    return texts;
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString shownText(Bytes block, std::string_view key) {
    return q(readText(configField(key), block));
}

QPushButton* button(const char* text, const QString& name) {
    auto* b = new QPushButton(QString::fromUtf8(text));
    b->setObjectName(name);
    return b;
}

// The filter's descriptions already name their patterns, which is what Qt reads; "*.*" means
// every file, also a name without a dot.
QStringList backupNameFilters() {
    QStringList parts = QString(kBackupFilter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2)
        filters << parts[i].replace("*.*", "*");
    return filters;
}

// The backup file to write or to read; nothing when the person cancels.
std::optional<QString> pickBackupFile(QWidget* parent, bool save) {
    QFileDialog dlg(parent);
    dlg.setObjectName("backupFile");
    dlg.setNameFilters(backupNameFilters());
    dlg.setDefaultSuffix("cfg");
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return dlg.selectedFiles().first();
}

} // namespace

CDlgConfigCenter::CDlgConfigCenter(std::array<std::uint8_t, 424>& workingBlock, Settings& settings,
                                   QWidget* parent)
    : QDialog(parent), working_(workingBlock), copy_(workingBlock), settings_(settings),
      rightFormat_(readRightMode(settings)), bindings_(copy_) {
    setObjectName("CDlgConfigCenter");
    setWindowTitle(QString::fromUtf8("门禁配置"));
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    buildCounters(left);
    buildSettings(left);
    buildRightFormat(left);
    buildButtons(left);
    buildOptions(right);
    columns->addLayout(left);
    columns->addLayout(right, 1);

    auto* bottom = new QHBoxLayout;
    auto* backup = button("备份配置到文件(&B)", "backup");
    auto* restore = button("从文件加载配置(&R)", "restore");
    connect(backup, &QPushButton::clicked, this, &CDlgConfigCenter::OnBnClickedBackup);
    connect(restore, &QPushButton::clicked, this, &CDlgConfigCenter::OnBnClickedRestore);
    bottom->addWidget(backup);
    bottom->addWidget(restore);
    bottom->addStretch();
    bottom->addWidget(okCancelButtons(this));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(bottom);
    bindings_.load();
}

void CDlgConfigCenter::buildCounters(QVBoxLayout* layout) {
    auto* grid = new QGridLayout;
    auto shown = [&](const char* label, const QString& name, int row, int column,
                     std::function<QString(Bytes)> text) {
        auto* edit = numberEdit(name, 120);
        grid->addWidget(new QLabel(QString::fromUtf8(label)), row, column);
        grid->addWidget(edit, row, column + 1);
        bindings_.shown(edit, std::move(text));
    };
    auto edited = [&](const char* label, const char* key, int row, int column) {
        auto* edit = numberEdit(key, 120);
        grid->addWidget(new QLabel(QString::fromUtf8(label)), row, column);
        grid->addWidget(edit, row, column + 1);
        bindings_.number(edit, configField(key), 0, QString::fromUtf8(label));
    };
    shown("日志数量：", "logCount", 0, 0, [](Bytes b) { return shownText(b, "logCount"); });
    shown("系统状态：", "systemStatus", 0, 2, [](Bytes b) {
        const ConfigField& status = configField("systemStatus");
        auto code = static_cast<std::int32_t>(readNumber(status, b));
        return QString("%1-%2").arg(code).arg(q(readText(status, b)));
    });
    shown("权限数量：", "rightCount", 1, 0, [](Bytes b) { return shownText(b, "rightCount"); });
    edited("上报索引：", "reportIndex", 1, 2);
    shown("进统计：", "inCount", 2, 0, [](Bytes b) { return shownText(b, "inCount"); });
    shown("出统计：", "outCount", 2, 2, [](Bytes b) { return shownText(b, "outCount"); });
    shown("在内统计：", "insideCount", 3, 0, [](Bytes b) { return shownText(b, "insideCount"); });
    edited("滞留限制：", "insideLimit", 3, 2);
    shown("运行状态：", "runState", 4, 0,
          [](Bytes b) { return QString::number(readNumber(configField("runState"), b)); });
    auto* detail = button("状态详情", "stateDetail");
    connect(detail, &QPushButton::clicked, this, &CDlgConfigCenter::OnBnClickedStateDetail);
    grid->addWidget(detail, 4, 2);
    layout->addLayout(grid);
}

void CDlgConfigCenter::buildSettings(QVBoxLayout* layout) {
    auto* grid = new QGridLayout;
    int row = 0;
    // One single-byte setting: label, edit, and what follows the edit on its row.
    auto setting = [&](const char* label, const char* key, QWidget* after = nullptr) {
        auto* edit = numberEdit(key, 60);
        grid->addWidget(new QLabel(QString::fromUtf8(label)), row, 0);
        grid->addWidget(edit, row, 1);
        if (after)
            grid->addWidget(after, row, 2, 1, 3, Qt::AlignLeft);
        bindings_.number(edit, configField(key), 0, QString::fromUtf8(label));
        ++row;
        return edit;
    };
    auto unit = [](const char* text) { return new QLabel(QString::fromUtf8(text)); };

    auto* procMode = listBox("procMode", procModeChoices());
    grid->addWidget(new QLabel(QString::fromUtf8("处理模式：")), row, 0);
    grid->addWidget(procMode, row++, 1, 1, 4);
    bindings_.choice(procMode, configField("procMode"));

    setting("自动授权：", "autoAuthorize", unit("个单位时长"));
    auto* delayRow = new QWidget;
    auto* delay = new QHBoxLayout(delayRow);
    delay->setContentsMargins(0, 0, 0, 0);
    auto* reserved = numberEdit("reservedSetting", 60);
    delay->addWidget(unit("以0.1秒为单位"));
    delay->addWidget(reserved);
    setting("延时开门：", "openDelay", delayRow);
    bindings_.number(reserved, configField("reservedSetting"));
    setting("关门超时：", "closeTimeout", unit("秒"));
    auto* timerTask = button("...", "timerTaskConfig");
    timerTask->setMaximumWidth(40);
    connect(timerTask, &QPushButton::clicked, this, &CDlgConfigCenter::OnBnClickedTimerTask);
    setting("定时任务：", "timerTask", timerTask);
    setting("扩展开门：", "extendedOpen", unit("门偏移,16后指定继电器"));
    setting("未关门警告：", "openAlarmOffset");

    grid->addWidget(new QLabel(QString::fromUtf8("读取块号：")), row, 0);
    const ConfigField& readTimes = configField("cardReadTimes");
    for (int i = 0; i < elementCount(readTimes); ++i) {
        auto* edit = numberEdit("cardReadTimes" + QString::number(i + 1), 60);
        grid->addWidget(edit, row, 1 + i);
        bindings_.number(edit, readTimes, i, QString::fromUtf8("读取块号"));
    }
    auto* explain = button("说明", "explain");
    connect(explain, &QPushButton::clicked, this, &CDlgConfigCenter::OnBnClickedExplain);
    grid->addWidget(explain, row++, 4);
    setting("灯光声音：", "lightSound");
    layout->addLayout(grid);
}

void CDlgConfigCenter::buildRightFormat(QVBoxLayout* layout) {
    auto* group = new QGroupBox(QString::fromUtf8("权限格式（变更后需要清除设备权限并重新启动）"));
    auto* row = new QHBoxLayout(group);
    rightFormats_ = new QButtonGroup(this);
    const char* const names[] = {"旧格式（已废弃）", "有姓名无有效期", "无姓名有有效期（默认值）"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(names[i]));
        radio->setObjectName("rightFormat" + QString::number(i));
        radio->setChecked(i == rightFormat_);
        rightFormats_->addButton(radio, i);
        row->addWidget(radio);
    }
    connect(rightFormats_, &QButtonGroup::idClicked, this,
            &CDlgConfigCenter::OnBnClickedRightFormat);
    layout->addWidget(group);
}

void CDlgConfigCenter::buildButtons(QVBoxLayout* layout) {
    auto* grid = new QGridLayout;
    auto add = [&](const char* text, const char* name, int at, void (CDlgConfigCenter::*open)()) {
        auto* b = button(text, name);
        connect(b, &QPushButton::clicked, this, open);
        grid->addWidget(b, at / 3, at % 3);
    };
    add("串口配置", "comConfig", 0, &CDlgConfigCenter::openPart<CDlgConfigCom>);
    add("韦根配置", "wgConfig", 1, &CDlgConfigCenter::openPart<CDlgConfigWG>);
    add("继电器配置", "relayConfig", 2, &CDlgConfigCenter::openPart<CDlgConfigRelayer>);
    add("信号检测配置", "signalConfig", 3, &CDlgConfigCenter::openPart<CDlgConfigSignal>);
    add("通行时段配置", "zoneConfig", 4, &CDlgConfigCenter::openPart<CDlgConfigTimezone>);
    layout->addLayout(grid);
    layout->addStretch();
}

void CDlgConfigCenter::buildOptions(QVBoxLayout* layout) {
    auto* inner = new QWidget;
    auto* list = new QVBoxLayout(inner);
    const auto& captions = optionCaptions();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int option = static_cast<int>(i) + 1;
        auto* box = new QCheckBox(q(std::string(captions[i])));
        box->setObjectName(QString("option%1").arg(option, 2, 10, QChar('0')));
        list->addWidget(box);
        FieldRef ref = optionEntry(option);
        bindings_.flag(box, *ref.field, ref.index);
    }
    auto* scroll = new QScrollArea;
    scroll->setObjectName("options");
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    scroll->setMinimumWidth(420);
    layout->addWidget(scroll);
}

void CDlgConfigCenter::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    // Once the window is on screen, so that the warning stands in front of it.
    QMetaObject::invokeMethod(this, &CDlgConfigCenter::checkRightFormat, Qt::QueuedConnection);
}

void CDlgConfigCenter::checkRightFormat() {
    auto blockFormat = static_cast<std::int32_t>(readNumber(configField("rightMode"), copy_));
    if (blockFormat == rightFormat_)
        return;
    showMessage(QString::fromUtf8("软件配置的权限格式(%1)和控制器(%2)不一致！\n"
                                  "要使用新模式请点击确定保存，清空所有权限后重新启动设备。\n"
                                  "可在配置选项\\通用\\系统权限格式 修改软件侧配置！")
                    .arg(rightFormat_)
                    .arg(blockFormat));
}

void CDlgConfigCenter::showMessage(const QString& text) {
    showConfigMessage(this, text);
    emit messageShown(text);
}

bool CDlgConfigCenter::storeControls() {
    if (auto problem = bindings_.store()) {
        showProblem(this, *problem);
        emit messageShown(problem->message);
        return false;
    }
    return true;
}

void CDlgConfigCenter::accept() {
    if (!storeControls())
        return;
    writeNumber(configField("rightMode"), copy_, 0, static_cast<std::uint32_t>(rightFormat_));
    working_ = copy_;
    QDialog::accept();
}

void CDlgConfigCenter::OnBnClickedRightFormat(int format) {
    if (!settings_.writeInt("common", "right-mode", format)) {
        // The format stays what the settings file says, so the next run agrees with this one.
        if (QAbstractButton* old = rightFormats_->button(rightFormat_))
            old->setChecked(true);
        showMessage(QString::fromUtf8("保存失败！"));
        return;
    }
    rightFormat_ = format;
    emit rightFormatChanged(format);
    showMessage(QString::fromUtf8("默认权限格式已经被修改！"));
}

template <typename D> void CDlgConfigCenter::openPart() {
    D dlg(copy_, this);
    dlg.exec();
}

void CDlgConfigCenter::OnBnClickedTimerTask() {
    // The sub-dialog starts from the number in the edit and puts its result back there.
    if (!storeControls())
        return;
    CDlgConfigTimerTask dlg(copy_, this);
    dlg.exec();
    bindings_.load();
}

void CDlgConfigCenter::OnBnClickedExplain() {
    showMessage(QString::fromUtf8(kReadTimesHelp));
}

void CDlgConfigCenter::OnBnClickedStateDetail() {
    showMessage(q(statusWordText(readNumber(configField("runState"), copy_), true)));
}

void CDlgConfigCenter::OnBnClickedBackup() {
    // The file holds what the dialog shows, edits not yet confirmed included.
    if (!storeControls())
        return;
    auto path = pickBackupFile(this, true);
    if (!path)
        return;
    showMessage(q(saveDoorBackup(path->toStdString(), copy_)));
}

void CDlgConfigCenter::OnBnClickedRestore() {
    // Edits of the fields the file does not hold (report index, limit) are kept.
    if (!storeControls())
        return;
    auto path = pickBackupFile(this, false);
    if (!path)
        return;
    bool ok = false;
    std::string message = loadDoorBackup(path->toStdString(), copy_, ok);
    if (ok)
        bindings_.load();
    showMessage(q(message));
}

} // namespace quorvane::gui
