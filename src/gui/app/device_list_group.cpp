#include "app/device_list_group.h"

#include <cstdio>

#include <QLineEdit>
#include <QMenu>
#include <QTreeWidget>

#include "app/device_list_menu.h"
#include "app/device_list_view.h"
#include "app/main_window_controls.h"
#include "infra/tool_log.h"
#include "platform/files.h"
#include "session/tool_session.h"

namespace quorvane::gui {
namespace {
constexpr int kListRedrawMs = 500;
} // namespace

DeviceListGroup::DeviceListGroup(WindowContext& ctx) : WindowGroup(ctx) {
    showListByTimer_ = ctx.session.settings().readInt("options", "show-list-by-timer", 1) != 0;
    listTimer_.setSingleShot(true);
    listTimer_.setInterval(kListRedrawMs);
    connect(&listTimer_, &QTimer::timeout, this, &DeviceListGroup::showList);
    connect(ctx.c.filter, &QLineEdit::textChanged, this, &DeviceListGroup::OnEnChangeFilter);
    connect(ctx.c.list, &QTreeWidget::itemSelectionChanged, this,
            &DeviceListGroup::OnLvnItemchangedList);
    connect(ctx.c.list, &QTreeWidget::customContextMenuRequested, this,
            &DeviceListGroup::OnNMRClickZ1List);
}

void DeviceListGroup::onListChanged() {
    if (showListByTimer_)
        listTimer_.start();
    else
        showList();
}

void DeviceListGroup::clear() {
    ctx_.list.clear();
}

void DeviceListGroup::showList() {
    ctx_.list.clear();
    auto rows = ctx_.session.devices().trySnapshot();
    if (!rows)
        return;
    auto shown = ctx_.list.fill(*rows, ctx_.c.filter->text().toStdString());
    if (ctx_.session.settings().readInt("common", "serial-gen", 0) != 0)
        writeFactoryLists(shown);
}

// Factory output: the target ids and serial numbers of the listed devices.
void DeviceListGroup::writeFactoryLists(const std::vector<const DeviceUIInfo*>& shown) {
    std::string ids, serials;
    for (const DeviceUIInfo* r : shown) {
        char line[16];
        std::snprintf(line, sizeof line, "%05u\n", r->getTargetId());
        ids += line;
        std::string serial(r->productSerial.begin(), r->productSerial.end());
        serials += serial.substr(0, serial.find('\0')) + "\n";
    }
    const std::string home = platform::environment("HOME");
    writeTextFile(&ctx_.session.log(), home + "/kx.txt", ids);
    writeTextFile(&ctx_.session.log(), home + "/kxsn.txt", serials);
}

void DeviceListGroup::OnEnChangeFilter() {
    showList();
}

void DeviceListGroup::OnLvnItemchangedList() {
    auto record = selected();
    if (!record) {
        emit deviceSelected(nullptr);
        return;
    }
    record->save(ctx_.session.programDir());
    emit deviceSelected(&*record);
}

void DeviceListGroup::OnNMRClickZ1List(const QPoint& at) {
    QMenu* menu = buildDeviceListMenu(ctx_.window, menuActions_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(ctx_.c.list->viewport()->mapToGlobal(at));
}

} // namespace quorvane::gui
