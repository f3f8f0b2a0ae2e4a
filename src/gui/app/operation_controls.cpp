#include "app/operation_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/main_window_controls.h"
#include "app/operation_rules.h"

namespace quorvane::gui {
namespace {

const QString kPendingLine = "<p>" + QString::fromUtf8(kNotAvailableYet) + "</p>";

} // namespace

OperationControls::OperationControls(const MainWindowControls& c, const Settings& settings)
    : c_(c), settings_(settings),
      // Operations that later parts of the tool bring: present, and disabled until then. A
      // part that brings one takes its control out of this list.
      pending_{c.scanPrompt,    c.playSound,      c.uploadSound,      c.memWriteE,  c.memReadE,
               c.memWriteF,     c.memReadF,       c.memRightE,        c.memRightF,  c.memRightImage,
               c.downloadSound, c.updateFirmware, c.downloadFirmware, c.upgradeAll, c.backupE,
               c.backupF,       c.clearE,         c.clearF,           c.loadE,      c.loadF,
               c.clearCode,     c.browse} {
    for (QWidget* w : pending_)
        w->setEnabled(false);
}

// A greyed button reads as "no device selected"; the tooltip tells it apart.
void OperationControls::notePendingInTooltips() {
    for (QWidget* w : pending_)
        w->setToolTip(kPendingLine + w->toolTip());
}

void OperationControls::provide(QWidget* control) {
    if (pending_.erase(control) > 0)
        control->setToolTip(control->toolTip().remove(kPendingLine));
}

void OperationControls::enable(bool enabled, const DeviceUIInfo* record) {
    const OperationRules rules = operationRules(enabled, record, settings_, c_.ipFix->isChecked());
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

} // namespace quorvane::gui
