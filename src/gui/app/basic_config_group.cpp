#include "app/basic_config_group.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/main_window_controls.h"
#include "app/operation_controls.h"
#include "app/qt_user_port.h"
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

BasicConfigGroup::BasicConfigGroup(WindowContext& ctx) : WindowGroup(ctx) {
    const auto& c = ctx.c;
    connect(c.saveRec, &QPushButton::clicked, this, &BasicConfigGroup::OnBnClickedZ1Saverec);
    connect(c.loadRec, &QPushButton::clicked, this, &BasicConfigGroup::OnBnClickedZ1Loadrec);
}

void BasicConfigGroup::showRecord(const DeviceUIInfo* r) {
    const auto& c = ctx_.c;
    if (!r) {
        // Greyed fields of a device that is no longer selected would read as its settings.
        for (QLineEdit* e :
             {c.name, c.mac, c.groupNo, c.deviceNo, c.ip, c.mask, c.gateway, c.hostAddress,
              c.hostPort, c.serverAddress, c.serverPort, c.doorOpenMs})
            e->clear();
        for (QComboBox* box : {c.baud, c.doorMode, c.reportFlag})
            box->setCurrentIndex(-1);
        return;
    }
    c.name->setText(q(r->name));
    c.mac->setText(q(r->mac));
    c.groupNo->setText(QString::number(r->groupNo));
    c.deviceNo->setText(QString::number(r->deviceNo));
    c.ip->setText(q(r->ip));
    c.mask->setText(q(r->mask));
    c.gateway->setText(q(r->gateway));
    c.hostAddress->setText(q(r->hostAddress));
    c.hostPort->setText(QString::number(r->hostPort));
    c.serverAddress->setText(q(r->serverAddress));
    c.serverPort->setText(QString::number(r->serverPort));
    QRadioButton* alloc[] = {c.ipFix, c.ipDhcp, c.ipPppoe};
    alloc[r->ipAlloc < 3 ? r->ipAlloc : 0]->setChecked(true);
    QRadioButton* rpt[] = {c.rptServer, c.rptClient, c.rptUdp};
    rpt[r->reportMode < 3 ? r->reportMode : 1]->setChecked(true);
    setIndex(c.baud, r->baudIndex);
    c.doorOpenMs->setText(QString::number(r->doorOpenMs));
    setIndex(c.doorMode, r->doorMode);
    c.reportFlag->setCurrentIndex(r->reportFlag != 0 ? 1 : 0);
}

void BasicConfigGroup::OnBnClickedZ1Saverec() {
    auto record = selected();
    if (!record) {
        ctx_.port.showMessage("请选择要操作的记录！");
        return;
    }
    if (!record->save(ctx_.session.programDir()))
        ctx_.port.showMessage("保存失败！");
}

void BasicConfigGroup::OnBnClickedZ1Loadrec() {
    auto path = ctx_.port.pickOpenFile("配置文件(*.cfg)|*.cfg|All Files(*.*)|*.*||");
    if (!path)
        return;
    DeviceUIInfo record;
    if (record.load(*path) != 0) {
        ctx_.port.showMessage("打开文件失败！");
        return;
    }
    ctx_.session.devices().append(record);
    emit recordLoaded();
}

} // namespace quorvane::gui
