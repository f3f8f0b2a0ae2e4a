#include "app/config_handlers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "app/device_list_menu.h"
#include "app/device_list_view.h"
#include "app/main_window_controls.h"
#include "app/qt_user_port.h"
#include "app/running_scope.h"
#include "config/device_backup.h"
#include "config/device_detail.h"
#include "dialogs/dlg_config_copy.h"
#include "platform/udp_socket.h"
#include "protocol/admin_channel.h"
#include "session/tool_session.h"

namespace quorvane::gui {
namespace {

// A number field: true (out set) when its text is a decimal number up to max.
template <class T> bool number(const QLineEdit* field, unsigned max, T& out) {
    bool ok = false;
    const unsigned v = field->text().trimmed().toUInt(&ok);
    if (!ok || v > max)
        return false;
    out = static_cast<T>(v);
    return true;
}

// An address field: empty, or a dotted IPv4 address.
bool address(const QLineEdit* field, std::string& out) {
    out = field->text().trimmed().toStdString();
    return out.empty() || platform::parseIpv4(out).has_value();
}

std::uint32_t choice(std::initializer_list<const QRadioButton*> buttons) {
    std::uint32_t i = 0;
    for (const QRadioButton* b : buttons) {
        if (b->isChecked())
            return i;
        ++i;
    }
    return 0;
}

// The caption of the label that names a field ("IP地址"), or fallback.
QString captionOf(const QWidget* field, const char* fallback = nullptr) {
    for (const QLabel* l : field->window()->findChildren<QLabel*>())
        if (l->buddy() == field)
            return l->text().remove(QString::fromUtf8("：")).remove('&');
    return fallback ? QString::fromUtf8(fallback) : field->objectName();
}

std::uint32_t comboIndex(const QComboBox* box) {
    return box->currentIndex() < 0 ? 0 : static_cast<std::uint32_t>(box->currentIndex());
}

} // namespace

ConfigHandlers::ConfigHandlers(WindowContext& ctx) : WindowGroup(ctx) {
    const MainWindowControls& c = ctx.c;
    connect(c.save, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedSave);
    connect(c.saveBroadcast, &QPushButton::clicked, this,
            &ConfigHandlers::OnBnClickedSaveBroadcast);
    connect(c.configEx, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedConfigEx);
    connect(c.configExCopy, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedConfigexCopy);
    connect(c.backupConfig, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedBackupConfig);
    connect(c.restoreConfig, &QPushButton::clicked, this,
            &ConfigHandlers::OnBnClickedRestoreConfig);
    connect(c.backupToFactory, &QPushButton::clicked, this,
            &ConfigHandlers::OnBnClickedBackupToFactory);
    connect(c.restoreFactory, &QPushButton::clicked, this,
            &ConfigHandlers::OnBnClickedRestoreFactory);
    connect(c.clearAll, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedClearAll);
    connect(c.info, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedInfo);
    // A (left) double click on a row opens the door-access configuration; a right double click
    // shows the detail text (caught before the list takes it for a double click of its own).
    connect(c.list, &QTreeWidget::itemDoubleClicked, this, &ConfigHandlers::OnBnClickedConfigEx);
    c.list->viewport()->installEventFilter(this);
}

bool ConfigHandlers::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ctx_.c.list->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        if (ctx_.c.list->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
            OnNMRDblclkZ1List();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void ConfigHandlers::addMenuActions(DeviceListMenuActions& actions) {
    if (hasDoorDialog())
        actions.doorConfig = [this] { OnBnClickedConfigEx(); };
    actions.showState = [this] { OnBnClickedShowState(); };
    actions.copyConfig = [this] { OnBnClickedConfigexCopy(); };
    actions.backup = [this] { OnBnClickedBackupConfig(); };
    actions.restore = [this] { OnBnClickedRestoreConfig(); };
    actions.backupToFactory = [this] { OnBnClickedBackupToFactory(); };
    actions.restoreFactory = [this] { OnBnClickedRestoreFactory(); };
}

std::optional<BasicConfigFields> ConfigHandlers::takeFields() const {
    BasicConfigFields f;
    f.name = ctx_.c.name->text().toStdString();
    f.mac = ctx_.c.mac->text().trimmed().toStdString();
    f.opPassword = ctx_.c.opPass->text().toStdString();
    f.ipAlloc = choice({ctx_.c.ipFix, ctx_.c.ipDhcp, ctx_.c.ipPppoe});
    f.reportMode = choice({ctx_.c.rptServer, ctx_.c.rptClient, ctx_.c.rptUdp});
    f.baudIndex = comboIndex(ctx_.c.baud);
    f.doorMode = comboIndex(ctx_.c.doorMode);
    f.reportFlag = comboIndex(ctx_.c.reportFlag);
    const MainWindowControls& c = ctx_.c;
    const QLineEdit* bad = nullptr;
    const char* fallback = nullptr;
    auto check = [&](bool taken, const QLineEdit* field, const char* caption = nullptr) {
        if (!taken && !bad) {
            bad = field;
            fallback = caption;
        }
    };
    check(isMacText(f.mac), c.mac);
    check(number(c.groupNo, 255, f.groupNo), c.groupNo);
    check(number(c.deviceNo, 255, f.deviceNo), c.deviceNo, "序号");
    check(number(c.hostPort, 65535, f.hostPort), c.hostPort);
    check(number(c.serverPort, 65535, f.serverPort), c.serverPort);
    check(number(c.doorOpenMs, 655350, f.doorOpenMs), c.doorOpenMs);
    check(address(c.ip, f.ip), c.ip);
    check(address(c.mask, f.mask), c.mask);
    check(address(c.gateway, f.gateway), c.gateway);
    check(address(c.hostAddress, f.hostAddress), c.hostAddress);
    check(address(c.serverAddress, f.serverAddress), c.serverAddress);
    fieldProblem_ = bad ? captionOf(bad, fallback) + QString::fromUtf8("：“") + bad->text() +
                              QString::fromUtf8("”")
                        : QString();
    const bool ok = bad == nullptr;
    if (!ok)
        return std::nullopt;
    return f;
}

std::optional<BasicConfigFields> ConfigHandlers::takeFieldsOrSay() const {
    auto fields = takeFields();
    if (!fields)
        ctx_.port.showMessage("保存界面数据失败！无法识别" + fieldProblem_.toStdString());
    return fields;
}

void ConfigHandlers::recordChanged(const std::optional<DeviceUIInfo>& before,
                                   const std::optional<DeviceUIInfo>& after) {
    if (!before || !after || *before == *after)
        return;
    ctx_.session.devices().replace(*before, *after);
    ctx_.list.replaceRecord(*before, *after);
}

std::string ConfigHandlers::serviceState() const {
    return ctx_.c.serviceState->text().toStdString();
}

void ConfigHandlers::save(SaveMode mode) {
    Running running(running_);
    if (!running.entered())
        return;
    const auto before = selected();
    std::optional<DeviceUIInfo> saved = before;
    const auto fields = takeFieldsOrSay();
    if (!fields)
        return;
    SaveConfigImpl(ctx_.session, before, fields, mode, ctx_.session.channel().searchTarget(),
                   saved ? &*saved : nullptr);
    recordChanged(before, saved);
}

void ConfigHandlers::OnBnClickedSave() {
    save(SaveMode::ToDevice);
}

void ConfigHandlers::OnBnClickedSaveBroadcast() {
    if (auto mode = chooseBroadcastSave(ctx_.port, ctx_.c.mcast->isChecked()))
        save(*mode);
}

void ConfigHandlers::OnBnClickedConfigEx() {
    Running running(running_);
    if (!running.entered() || !doorDialog_)
        return;
    const auto before = selected();
    DoorConfigSteps steps;
    steps.dialog = doorDialog_;
    steps.searchAgain = [this] { emit searchRequested(); };
    if (!takeFieldsOrSay())
        return;
    auto outcome = editDoorConfig(ctx_.session, before, true, steps);
    recordChanged(before, outcome.record);
}

void ConfigHandlers::OnBnClickedConfigexCopy() {
    Running running(running_);
    if (!running.entered())
        return;
    CDlgConfigCopy dlg(ctx_.session.devices().snapshot(), ctx_.window);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const std::vector<DeviceUIInfo> before = dlg.targets();
    std::vector<DeviceUIInfo> targets = before;
    copyDoorConfig(ctx_.session, dlg.source(), targets);
    for (std::size_t i = 0; i < targets.size(); ++i)
        recordChanged(before[i], targets[i]);
}

void ConfigHandlers::backupCommand(DeviceBackupCommand command) {
    Running running(running_);
    if (!running.entered())
        return;
    if (takeFieldsOrSay())
        deviceBackupCommand(ctx_.session, selected(), true, command);
}

void ConfigHandlers::OnBnClickedBackupConfig() {
    backupCommand(DeviceBackupCommand::Backup);
}
void ConfigHandlers::OnBnClickedRestoreConfig() {
    backupCommand(DeviceBackupCommand::Restore);
}
void ConfigHandlers::OnBnClickedBackupToFactory() {
    backupCommand(DeviceBackupCommand::BackupToFactory);
}
void ConfigHandlers::OnBnClickedRestoreFactory() {
    backupCommand(DeviceBackupCommand::RestoreFactory);
}

void ConfigHandlers::OnBnClickedClearAll() {
    Running running(running_);
    if (!running.entered())
        return;
    clearAllData(ctx_.session, selected());
}

void ConfigHandlers::OnBnClickedInfo() {
    showDevDetailInfo(ctx_.session, selected(), serviceState(), true);
}

void ConfigHandlers::OnNMRDblclkZ1List() {
    showDevDetailInfo(ctx_.session, selected(), serviceState(), false);
}

void ConfigHandlers::OnBnClickedShowState() {
    Running running(running_);
    if (!running.entered())
        return;
    const auto before = selected();
    DeviceUIInfo now = before.value_or(DeviceUIInfo{});
    showDeviceState(ctx_.session, before, serviceState(), &now);
    recordChanged(before, now);
}

} // namespace quorvane::gui
