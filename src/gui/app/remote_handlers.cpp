#include "app/remote_handlers.h"

#include <cstdlib>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/device_list_view.h"
#include "app/main_window_controls.h"
#include "dialogs/dlg_pppoe.h"
#include "dialogs/dlg_set485_id.h"
#include "dialogs/dlg_test_flag.h"
#include "remote/network_identity.h"
#include "remote/remote_choices.h"
#include "remote/remote_commands.h"
#include "session/tool_session.h"

namespace quorvane::gui {

const RemoteHandlers::RelayHandler RemoteHandlers::kRelayHandlers[4][9] = {
    {&RemoteHandlers::OnBnClickedOpenDoor11, &RemoteHandlers::OnBnClickedOpenDoor12,
     &RemoteHandlers::OnBnClickedOpenDoor13, &RemoteHandlers::OnBnClickedOpenDoor14,
     &RemoteHandlers::OnBnClickedOpenDoor15, &RemoteHandlers::OnBnClickedOpenDoor16,
     &RemoteHandlers::OnBnClickedOpenDoor17, &RemoteHandlers::OnBnClickedOpenDoor18,
     &RemoteHandlers::OnBnClickedOpenDoor19},
    {&RemoteHandlers::OnBnClickedOpenDoor21, &RemoteHandlers::OnBnClickedOpenDoor22,
     &RemoteHandlers::OnBnClickedOpenDoor23, &RemoteHandlers::OnBnClickedOpenDoor24,
     &RemoteHandlers::OnBnClickedOpenDoor25, &RemoteHandlers::OnBnClickedOpenDoor26,
     &RemoteHandlers::OnBnClickedOpenDoor27, &RemoteHandlers::OnBnClickedOpenDoor28,
     &RemoteHandlers::OnBnClickedOpenDoor29},
    {&RemoteHandlers::OnBnClickedOpenDoor31, &RemoteHandlers::OnBnClickedOpenDoor32,
     &RemoteHandlers::OnBnClickedOpenDoor33, &RemoteHandlers::OnBnClickedOpenDoor34,
     &RemoteHandlers::OnBnClickedOpenDoor35, &RemoteHandlers::OnBnClickedOpenDoor36,
     &RemoteHandlers::OnBnClickedOpenDoor37, &RemoteHandlers::OnBnClickedOpenDoor38,
     &RemoteHandlers::OnBnClickedOpenDoor39},
    {&RemoteHandlers::OnBnClickedOpenDoor41, &RemoteHandlers::OnBnClickedOpenDoor42,
     &RemoteHandlers::OnBnClickedOpenDoor43, &RemoteHandlers::OnBnClickedOpenDoor44,
     &RemoteHandlers::OnBnClickedOpenDoor45, &RemoteHandlers::OnBnClickedOpenDoor46,
     &RemoteHandlers::OnBnClickedOpenDoor47, &RemoteHandlers::OnBnClickedOpenDoor48,
     &RemoteHandlers::OnBnClickedOpenDoor49}};

RemoteHandlers::RemoteHandlers(ToolSession& session, UserPort& port,
                               const MainWindowControls& controls, QWidget* window,
                               DeviceListView& list,
                               std::function<void(bool, const DeviceUIInfo*)> enableButton)
    : session_(session), port_(port), c_(controls), window_(window), list_(list),
      enableButton_(std::move(enableButton)) {
    const auto& c = c_;
    connect(c.openDoor, &QPushButton::clicked, this, &RemoteHandlers::OnBnClickedOpenDoor);
    connect(c.openDoorAll, &QPushButton::clicked, this, &RemoteHandlers::OnBnClickedZ1OpenDoorAll);
    connect(c.readTime, &QPushButton::clicked, this, &RemoteHandlers::OnBnClickedReadtime);
    connect(c.setTime, &QPushButton::clicked, this, &RemoteHandlers::OnBnClickedSettime);
    connect(c.reset, &QPushButton::clicked, this, &RemoteHandlers::OnBnClickedReset);
    connect(c.clearLog, &QPushButton::clicked, this, &RemoteHandlers::OnBnClickedClearLog);
    connect(c.selfTest, &QPushButton::clicked, this, &RemoteHandlers::OnBnClickedSelfTest);
    connect(c.set485Id, &QPushButton::clicked, this, &RemoteHandlers::OnBnClickedSet485id);
    connect(c.genMac, &QPushButton::clicked, this, &RemoteHandlers::OnBnClickedGenMac);
    connect(c.ipFix, &QRadioButton::clicked, this, &RemoteHandlers::OnBnClickedIpFix);
    connect(c.ipDhcp, &QRadioButton::clicked, this, &RemoteHandlers::OnBnClickedIpDhcp);
    connect(c.ipPppoe, &QRadioButton::clicked, this, &RemoteHandlers::OnBnClickedIpPppoe);
}

std::optional<DeviceUIInfo> RemoteHandlers::selected() const {
    return list_.selected();
}

std::optional<long> RemoteHandlers::openTime() const {
    bool ok = false;
    const long ms = c_.openTime->text().trimmed().toLong(&ok);
    if (!ok) {
        port_.showMessage(kOpenTimeRangeText);
        return std::nullopt;
    }
    return ms;
}

// The door-number list offers 1..164: its index is the door index.
void RemoteHandlers::OnBnClickedOpenDoor() {
    if (auto ms = openTime())
        openDoor(session_, selected(), c_.relay->currentIndex(), *ms);
}

void RemoteHandlers::OnBnClickedZ1OpenDoorAll() {
    if (auto ms = openTime())
        openDoorAll(session_, selected(), c_.relay->currentIndex(), *ms);
}

void RemoteHandlers::openRelay(int relay, int choice) {
    openDoor(session_, selected(), relay - 1,
             kRelayChoices[static_cast<std::size_t>(choice - 1)].milliseconds);
}

void RemoteHandlers::OnBnClickedOpenDoor11() {
    openRelay(1, 1);
}
void RemoteHandlers::OnBnClickedOpenDoor12() {
    openRelay(1, 2);
}
void RemoteHandlers::OnBnClickedOpenDoor13() {
    openRelay(1, 3);
}
void RemoteHandlers::OnBnClickedOpenDoor14() {
    openRelay(1, 4);
}
void RemoteHandlers::OnBnClickedOpenDoor15() {
    openRelay(1, 5);
}
void RemoteHandlers::OnBnClickedOpenDoor16() {
    openRelay(1, 6);
}
void RemoteHandlers::OnBnClickedOpenDoor17() {
    openRelay(1, 7);
}
void RemoteHandlers::OnBnClickedOpenDoor18() {
    openRelay(1, 8);
}
void RemoteHandlers::OnBnClickedOpenDoor19() {
    openRelay(1, 9);
}
void RemoteHandlers::OnBnClickedOpenDoor21() {
    openRelay(2, 1);
}
void RemoteHandlers::OnBnClickedOpenDoor22() {
    openRelay(2, 2);
}
void RemoteHandlers::OnBnClickedOpenDoor23() {
    openRelay(2, 3);
}
void RemoteHandlers::OnBnClickedOpenDoor24() {
    openRelay(2, 4);
}
void RemoteHandlers::OnBnClickedOpenDoor25() {
    openRelay(2, 5);
}
void RemoteHandlers::OnBnClickedOpenDoor26() {
    openRelay(2, 6);
}
void RemoteHandlers::OnBnClickedOpenDoor27() {
    openRelay(2, 7);
}
void RemoteHandlers::OnBnClickedOpenDoor28() {
    openRelay(2, 8);
}
void RemoteHandlers::OnBnClickedOpenDoor29() {
    openRelay(2, 9);
}
void RemoteHandlers::OnBnClickedOpenDoor31() {
    openRelay(3, 1);
}
void RemoteHandlers::OnBnClickedOpenDoor32() {
    openRelay(3, 2);
}
void RemoteHandlers::OnBnClickedOpenDoor33() {
    openRelay(3, 3);
}
void RemoteHandlers::OnBnClickedOpenDoor34() {
    openRelay(3, 4);
}
void RemoteHandlers::OnBnClickedOpenDoor35() {
    openRelay(3, 5);
}
void RemoteHandlers::OnBnClickedOpenDoor36() {
    openRelay(3, 6);
}
void RemoteHandlers::OnBnClickedOpenDoor37() {
    openRelay(3, 7);
}
void RemoteHandlers::OnBnClickedOpenDoor38() {
    openRelay(3, 8);
}
void RemoteHandlers::OnBnClickedOpenDoor39() {
    openRelay(3, 9);
}
void RemoteHandlers::OnBnClickedOpenDoor41() {
    openRelay(4, 1);
}
void RemoteHandlers::OnBnClickedOpenDoor42() {
    openRelay(4, 2);
}
void RemoteHandlers::OnBnClickedOpenDoor43() {
    openRelay(4, 3);
}
void RemoteHandlers::OnBnClickedOpenDoor44() {
    openRelay(4, 4);
}
void RemoteHandlers::OnBnClickedOpenDoor45() {
    openRelay(4, 5);
}
void RemoteHandlers::OnBnClickedOpenDoor46() {
    openRelay(4, 6);
}
void RemoteHandlers::OnBnClickedOpenDoor47() {
    openRelay(4, 7);
}
void RemoteHandlers::OnBnClickedOpenDoor48() {
    openRelay(4, 8);
}
void RemoteHandlers::OnBnClickedOpenDoor49() {
    openRelay(4, 9);
}

void RemoteHandlers::OnBnClickedReadtime() {
    readTime(session_, selected());
}

void RemoteHandlers::OnBnClickedSettime() {
    setTime(session_, selected());
}

void RemoteHandlers::OnBnClickedReset() {
    resetDevice(session_, selected());
}

void RemoteHandlers::OnBnClickedClearLog() {
    clearLog(session_, selected());
}

// The test dialog starts with every box clear; Cancel sends nothing.
void RemoteHandlers::OnBnClickedSelfTest() {
    auto record = selected();
    if (!record) {
        port_.showMessage("请选择要操作的记录！");
        return;
    }
    CDlgTestFlag dlg(window_);
    if (dlg.exec() == QDialog::Accepted)
        selfTest(session_, record, dlg.flags());
}

void RemoteHandlers::OnBnClickedSet485id() {
    CDlgSet485ID dlg(session_.settings(), port_, window_);
    dlg.exec();
}

void RemoteHandlers::OnBnClickedGenMac() {
    auto mac = newMacAddress(session_.settings(), port_, selected().has_value(),
                             [] { return static_cast<std::uint8_t>(std::rand() & 0xFF); });
    if (mac)
        c_.mac->setText(QString::fromStdString(*mac));
}

void RemoteHandlers::reapplyRules() {
    auto record = selected();
    enableButton_(record.has_value(), record ? &*record : nullptr);
}

// Fixed IP opens the address, mask and gateway fields; DHCP closes them.
void RemoteHandlers::OnBnClickedIpFix() {
    reapplyRules();
}

void RemoteHandlers::OnBnClickedIpDhcp() {
    reapplyRules();
}

// The account is kept in the selected record (and its row of the device list) until the
// configuration is saved; nothing is sent here.
void RemoteHandlers::OnBnClickedIpPppoe() {
    auto record = selected();
    if (!record) {
        port_.showMessage("请选择要操作的设备！");
        return;
    }
    CDlgPppoe dlg(pppoeAccountOf(*record), window_);
    if (dlg.exec() == QDialog::Accepted) {
        DeviceUIInfo changed = *record;
        storePppoeAccount(changed, dlg.typed());
        session_.devices().replace(*record, changed);
        list_.replaceSelected(changed);
    }
    reapplyRules();
}

} // namespace quorvane::gui
