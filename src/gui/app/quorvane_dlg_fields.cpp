// The selected device's fields and the operation controls that follow the selection.

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
