#include "app/config_handlers.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "app/main_window_controls.h"
#include "app/qt_user_port.h"
#include "dialogs/dlg_config_copy.h"
#include "platform/udp_socket.h"
#include "protocol/admin_channel.h"
#include "session/device_backup.h"
#include "session/device_detail.h"
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

std::uint32_t comboIndex(const QComboBox* box) {
    return box->currentIndex() < 0 ? 0 : static_cast<std::uint32_t>(box->currentIndex());
}

// A scope in which further clicks on these handlers are ignored.
class Running {
  public:
    explicit Running(bool& flag) : flag_(flag), entered_(!flag) { flag_ = true; }
    ~Running() {
        if (entered_)
            flag_ = false;
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    bool entered() const { return entered_; }

  private:
    bool& flag_;
    bool entered_;
};

} // namespace

ConfigHandlers::ConfigHandlers(ToolSession& session, QtUserPort& port,
                               const MainWindowControls& controls, QWidget* window,
                               WindowHooks hooks)
    : QObject(window), session_(session), port_(port), c_(controls), window_(window),
      hooks_(std::move(hooks)) {
    connect(c_.save, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedSave);
    connect(c_.saveBroadcast, &QPushButton::clicked, this,
            &ConfigHandlers::OnBnClickedSaveBroadcast);
    connect(c_.configEx, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedConfigEx);
    connect(c_.configExCopy, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedConfigexCopy);
    connect(c_.backupConfig, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedBackupConfig);
    connect(c_.restoreConfig, &QPushButton::clicked, this,
            &ConfigHandlers::OnBnClickedRestoreConfig);
    connect(c_.backupToFactory, &QPushButton::clicked, this,
            &ConfigHandlers::OnBnClickedBackupToFactory);
    connect(c_.restoreFactory, &QPushButton::clicked, this,
            &ConfigHandlers::OnBnClickedRestoreFactory);
    connect(c_.clearAll, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedClearAll);
    connect(c_.info, &QPushButton::clicked, this, &ConfigHandlers::OnBnClickedInfo);
    // A (left) double click on a row opens the door-access configuration; a right double click
    // shows the detail text (caught before the list takes it for a double click of its own).
    connect(c_.list, &QTreeWidget::itemDoubleClicked, this, &ConfigHandlers::OnBnClickedConfigEx);
    c_.list->viewport()->installEventFilter(this);
}

bool ConfigHandlers::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c_.list->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        if (c_.list->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
            OnNMRDblclkZ1List();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void ConfigHandlers::attachToMenu(QMenu* menu) {
    struct Entry {
        const char* caption;
        void (ConfigHandlers::*handler)();
    };
    static const Entry kEntries[] = {
        {"门禁配置(&1)", &ConfigHandlers::OnBnClickedConfigEx},
        {"查看状态(&8)", &ConfigHandlers::OnBnClickedShowState},
        {"复制配置", &ConfigHandlers::OnBnClickedConfigexCopy},
        {"设备侧备份", &ConfigHandlers::OnBnClickedBackupConfig},
        {"设备侧恢复", &ConfigHandlers::OnBnClickedRestoreConfig},
        {"设备侧备份当前配置为出厂配置", &ConfigHandlers::OnBnClickedBackupToFactory},
        {"设备侧从出厂配置恢复当前配置", &ConfigHandlers::OnBnClickedRestoreFactory},
    };
    for (QAction* action : menu->findChildren<QAction*>()) {
        for (const Entry& e : kEntries) {
            if (action->text() != QString::fromUtf8(e.caption))
                continue;
            const bool available =
                e.handler != &ConfigHandlers::OnBnClickedConfigEx || hasDoorDialog();
            action->setEnabled(available);
            if (available)
                connect(action, &QAction::triggered, this, e.handler);
        }
    }
}

std::optional<BasicConfigFields> ConfigHandlers::takeFields() const {
    BasicConfigFields f;
    f.name = c_.name->text().toStdString();
    f.mac = c_.mac->text().trimmed().toStdString();
    f.opPassword = c_.opPass->text().toStdString();
    f.ipAlloc = choice({c_.ipFix, c_.ipDhcp, c_.ipPppoe});
    f.reportMode = choice({c_.rptServer, c_.rptClient, c_.rptUdp});
    f.baudIndex = comboIndex(c_.baud);
    f.doorMode = comboIndex(c_.doorMode);
    f.reportFlag = comboIndex(c_.reportFlag);
    const bool ok =
        isMacText(f.mac) && number(c_.groupNo, 255, f.groupNo) &&
        number(c_.deviceNo, 255, f.deviceNo) && number(c_.hostPort, 65535, f.hostPort) &&
        number(c_.serverPort, 65535, f.serverPort) && number(c_.doorOpenMs, 655350, f.doorOpenMs) &&
        address(c_.ip, f.ip) && address(c_.mask, f.mask) && address(c_.gateway, f.gateway) &&
        address(c_.hostAddress, f.hostAddress) && address(c_.serverAddress, f.serverAddress);
    if (!ok)
        return std::nullopt;
    return f;
}

void ConfigHandlers::recordChanged(const std::optional<DeviceUIInfo>& before,
                                   const std::optional<DeviceUIInfo>& after) {
    if (before && after && !(*before == *after) && hooks_.recordChanged)
        hooks_.recordChanged(*before, *after);
}

void ConfigHandlers::save(SaveMode mode) {
    Running running(running_);
    if (!running.entered())
        return;
    const auto before = hooks_.selected();
    std::optional<DeviceUIInfo> saved = before;
    SaveConfigImpl(session_, before, takeFields(), mode, session_.channel().searchTarget(),
                   saved ? &*saved : nullptr);
    recordChanged(before, saved);
}

void ConfigHandlers::OnBnClickedSave() {
    save(SaveMode::ToDevice);
}

void ConfigHandlers::OnBnClickedSaveBroadcast() {
    if (auto mode = chooseBroadcastSave(port_, c_.mcast->isChecked()))
        save(*mode);
}

void ConfigHandlers::OnBnClickedConfigEx() {
    Running running(running_);
    if (!running.entered() || !doorDialog_)
        return;
    const auto before = hooks_.selected();
    DoorConfigSteps steps;
    steps.dialog = doorDialog_;
    steps.searchAgain = hooks_.search;
    auto outcome = editDoorConfig(session_, before, takeFields().has_value(), steps);
    recordChanged(before, outcome.record);
}

void ConfigHandlers::OnBnClickedConfigexCopy() {
    Running running(running_);
    if (!running.entered())
        return;
    CDlgConfigCopy dlg(session_.devices().snapshot(), window_);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const std::vector<DeviceUIInfo> before = dlg.targets();
    std::vector<DeviceUIInfo> targets = before;
    copyDoorConfig(session_, dlg.source(), targets);
    for (std::size_t i = 0; i < targets.size(); ++i)
        recordChanged(before[i], targets[i]);
}

void ConfigHandlers::backupCommand(int command) {
    Running running(running_);
    if (!running.entered())
        return;
    deviceBackupCommand(session_, hooks_.selected(), takeFields().has_value(),
                        static_cast<DeviceBackupCommand>(command));
}

void ConfigHandlers::OnBnClickedBackupConfig() {
    backupCommand(static_cast<int>(DeviceBackupCommand::Backup));
}
void ConfigHandlers::OnBnClickedRestoreConfig() {
    backupCommand(static_cast<int>(DeviceBackupCommand::Restore));
}
void ConfigHandlers::OnBnClickedBackupToFactory() {
    backupCommand(static_cast<int>(DeviceBackupCommand::BackupToFactory));
}
void ConfigHandlers::OnBnClickedRestoreFactory() {
    backupCommand(static_cast<int>(DeviceBackupCommand::RestoreFactory));
}

void ConfigHandlers::OnBnClickedClearAll() {
    Running running(running_);
    if (!running.entered())
        return;
    clearAllData(session_, hooks_.selected());
}

void ConfigHandlers::OnBnClickedInfo() {
    showDevDetailInfo(session_, hooks_.selected(), hooks_.serviceState(), true);
}

void ConfigHandlers::OnNMRDblclkZ1List() {
    showDevDetailInfo(session_, hooks_.selected(), hooks_.serviceState(), false);
}

void ConfigHandlers::OnBnClickedShowState() {
    Running running(running_);
    if (!running.entered())
        return;
    const auto before = hooks_.selected();
    DeviceUIInfo now = before.value_or(DeviceUIInfo{});
    showDeviceState(session_, before, hooks_.serviceState(), &now);
    recordChanged(before, now);
}

} // namespace quorvane::gui
