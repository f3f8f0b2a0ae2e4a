// The selected device's fields and the operation controls that follow the selection.
#include <cstdio>
#include <cstdlib>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/device_list_view.h"
#include "app/operation_rules.h"
#include "app/qt_user_port.h"
#include "app/quorvane_dlg.h"
#include "model/record_file.h"
#include "session/tool_session.h"

namespace quorvane::gui {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

void setIndex(QComboBox* box, std::uint32_t value) {
    box->setCurrentIndex(value < static_cast<std::uint32_t>(box->count()) ? static_cast<int>(value)
                                                                          : -1);
}

} // namespace

void CQuorvaneDlg::showRecord(const DeviceUIInfo& r) {
    c_.name->setText(q(r.name));
    c_.mac->setText(q(r.mac));
    c_.groupNo->setText(QString::number(r.groupNo));
    c_.deviceNo->setText(QString::number(r.deviceNo));
    c_.ip->setText(q(r.ip));
    c_.mask->setText(q(r.mask));
    c_.gateway->setText(q(r.gateway));
    c_.hostAddress->setText(q(r.hostAddress));
    c_.hostPort->setText(QString::number(r.hostPort));
    c_.serverAddress->setText(q(r.serverAddress));
    c_.serverPort->setText(QString::number(r.serverPort));
    QRadioButton* alloc[] = {c_.ipFix, c_.ipDhcp, c_.ipPppoe};
    alloc[r.ipAlloc < 3 ? r.ipAlloc : 0]->setChecked(true);
    QRadioButton* rpt[] = {c_.rptServer, c_.rptClient, c_.rptUdp};
    rpt[r.reportMode < 3 ? r.reportMode : 1]->setChecked(true);
    setIndex(c_.baud, r.baudIndex);
    c_.doorOpenMs->setText(QString::number(r.doorOpenMs));
    setIndex(c_.doorMode, r.doorMode);
    c_.reportFlag->setCurrentIndex(r.reportFlag != 0 ? 1 : 0);
}

void CQuorvaneDlg::enableButton(bool enabled, const DeviceUIInfo* record) {
    applyOperationRules(enabled, record);
}

void CQuorvaneDlg::applyOperationRules(bool enabled, const DeviceUIInfo* record) {
    const OperationRules rules =
        operationRules(enabled, record, session_.settings(), c_.ipFix->isChecked());
    auto set = [this](QWidget* w, bool on) { w->setEnabled(on && !isPending(w)); };
    for (QWidget* w : c_.plainOperationControls)
        set(w, rules.plain);
    for (QWidget* w : {c_.ip, c_.mask, c_.gateway})
        set(w, rules.addressFields);
    for (QWidget* w : {c_.ipFix, c_.ipDhcp, c_.ipPppoe})
        set(w, rules.ipChoices);
    for (QWidget* w : std::initializer_list<QWidget*>{c_.scanPrompt, c_.playDirect, c_.playSound,
                                                      c_.uploadSound, c_.playCount, c_.soundList})
        set(w, rules.sound);
    for (QWidget* w : {c_.openDoor, c_.openDoorAll})
        set(w, rules.directOpen);
    set(c_.name, rules.deviceName);
    for (QWidget* w : std::initializer_list<QWidget*>{c_.mac, c_.genMac})
        set(w, rules.mac);
}

// Choosing fixed IP or DHCP re-applies the address-field rule at once.
void CQuorvaneDlg::OnBnClickedIpChoice() {
    auto record = listView_->selected();
    applyOperationRules(record.has_value(), record ? &*record : nullptr);
}

void CQuorvaneDlg::OnBnClickedGenMac() {
    if (!listView_->selected()) {
        port_.showMessage("请选择要操作的记录！");
        return;
    }
    if (session_.settings().readInt("common", "sn-is-mac", 1) != 0 &&
        !port_.askYesNo(
            "分配新的MAC地址会重新生成设备名称/标志，确定要继续吗？如果希望保证设备标志不改"
            "变，请将设备标志转换为16进制后填充到MAC地址低两位。"))
        return;
    char mac[24];
    std::snprintf(mac, sizeof mac, "08.00.09.%02x.%02x.%02x", std::rand() & 0xFF,
                  std::rand() & 0xFF, std::rand() & 0xFF);
    c_.mac->setText(mac);
}

void CQuorvaneDlg::OnBnClickedZ1Saverec() {
    auto record = listView_->selected();
    if (!record) {
        port_.showMessage("请选择要操作的记录！");
        return;
    }
    if (!record->save(session_.programDir()))
        port_.showMessage("保存失败！");
}

void CQuorvaneDlg::OnBnClickedZ1Loadrec() {
    auto path = port_.pickOpenFile("配置文件(*.cfg)|*.cfg|All Files(*.*)|*.*||");
    if (!path)
        return;
    DeviceUIInfo record;
    if (record.load(*path) != 0) {
        port_.showMessage("打开文件失败！");
        return;
    }
    session_.devices().append(record);
    showList();
}

} // namespace quorvane::gui
