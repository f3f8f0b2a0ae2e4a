#include "app/search_group.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_window_controls.h"
#include "app/qt_user_port.h"
#include "infra/codepage.h"
#include "protocol/admin_channel.h"
#include "protocol/pipe_channel.h"
#include "session/tool_session.h"

namespace quorvane::gui {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString dotted(std::uint32_t hostOrder) {
    return QString("%1.%2.%3.%4")
        .arg(hostOrder >> 24)
        .arg((hostOrder >> 16) & 0xFF)
        .arg((hostOrder >> 8) & 0xFF)
        .arg(hostOrder & 0xFF);
}

} // namespace

SearchGroup::SearchGroup(WindowContext& ctx) : WindowGroup(ctx) {
    const auto& c = ctx.c;
    connect(c.search, &QPushButton::clicked, this, &SearchGroup::OnBnClickedSearch);
    connect(c.searchOnStart, &QCheckBox::clicked, this, &SearchGroup::OnBnClickedSearchOnstart);
    connect(c.showAll, &QCheckBox::clicked, this, &SearchGroup::OnBnClickedZ1Showall);
    connect(c.enablePipe, &QCheckBox::clicked, this, &SearchGroup::OnBnClickedEnablePipe);
    connect(c.mcast, &QCheckBox::clicked, this, &SearchGroup::OnBnClickedMcast);
    // Only a choice by the person joins the group, never the filling of the box.
    connect(c.ips, &QComboBox::activated, this, &SearchGroup::OnCbnSelchangeIps);
    connect(c.opPass, &QLineEdit::textChanged, this, &SearchGroup::OnEnChangeOpPass);
}

void SearchGroup::readInitialValues() {
    const Settings& s = ctx_.session.settings();
    ctx_.c.searchOnStart->setChecked(s.readInt("net", "search-on-start", 1) != 0);
    ctx_.c.enablePipe->setChecked(s.readInt("net", "enable-pipe", 1) != 0);
    ctx_.c.mcast->setChecked(s.readInt("net", "enable-mcast", 1) != 0);
    ctx_.c.showAll->setChecked(false);
}

bool SearchGroup::searchOnStart() const {
    return ctx_.c.searchOnStart->isChecked();
}

// The stored interface is kept even when the system does not list it (the loopback address
// is never listed), so a site on one machine can search its own address.
void SearchGroup::fillInterfaces() {
    QComboBox* ips = ctx_.c.ips;
    ips->clear();
    for (const auto& a : ctx_.session.channel().localInterfaces())
        ips->addItem(q(a));
    QString stored = q(ctx_.session.settings().readString("net", "mcast-local-address", ""));
    if (stored.isEmpty()) {
        ips->setCurrentIndex(-1);
        return;
    }
    int at = ips->findText(stored);
    if (at < 0) {
        ips->addItem(stored);
        at = ips->count() - 1;
    }
    ips->setCurrentIndex(at);
}

void SearchGroup::OnBnClickedMcast() {
    const auto& c = ctx_.c;
    const bool on = c.mcast->isChecked();
    SearchTarget t =
        ctx_.session.channel().applyMulticastMode(on, c.ips->currentText().toStdString());
    c.searchAddress->setEnabled(!on);
    c.searchPort->setEnabled(!on);
    c.searchAddress->setText(dotted(t.destination.address));
    c.searchPort->setText(QString::number(t.destination.port));
}

void SearchGroup::OnCbnSelchangeIps() {
    ctx_.session.channel().chooseInterface(ctx_.c.ips->currentText().toStdString());
}

void SearchGroup::OnBnClickedSearch() {
    const auto& c = ctx_.c;
    // A reply still being merged holds the list: the click is ignored.
    if (!ctx_.session.devices().tryClear())
        return;
    emit searchStarted();
    if (c.ips->currentText().isEmpty()) {
        ctx_.port.showMessage("首次使用，请选择要搜索控制器的网络接口！");
        c.ips->setFocus();
        return;
    }
    SearchRequest request;
    request.multicast = c.mcast->isChecked();
    request.searchAddress = addressNumber(c.searchAddress->text().toStdString());
    request.port = static_cast<std::uint16_t>(c.searchPort->text().toUInt());
    request.interfaceAddress = c.ips->currentText().toStdString();
    request.listServiceDevices = c.showAll->isChecked();
    ctx_.session.search(request);
}

void SearchGroup::OnBnClickedSearchOnstart() {
    ctx_.session.settings().writeInt("net", "search-on-start",
                                     ctx_.c.searchOnStart->isChecked() ? 1 : 0);
}

void SearchGroup::OnBnClickedZ1Showall() {
    // The list keeps the service's devices, and the pipe carries frames, only with the box set.
    const bool on = ctx_.c.showAll->isChecked();
    ctx_.session.devices().setListServiceDevices(on);
    ctx_.session.pipe().setListServiceDevices(on);
}

void SearchGroup::OnBnClickedEnablePipe() {
    ctx_.session.settings().writeString("net", "enable-pipe",
                                        ctx_.c.enablePipe->isChecked() ? "1" : "0");
}

void SearchGroup::OnEnChangeOpPass() {
    ctx_.session.protocol().fillOpPassword(toGbk(ctx_.c.opPass->text().toStdString()));
}

} // namespace quorvane::gui
