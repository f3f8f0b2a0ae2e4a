#include "dialogs/dlg_check_list.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "dialogs/config_widgets.h"

namespace quorvane::gui {

const std::vector<std::string> kReaderChoices = {"COM-1号设备", "COM-2号设备", "COM-3号设备",
                                                 "COM-4号设备", "韦根-1读头",  "韦根-2读头",
                                                 "韦根-3读头",  "韦根-4读头"};

const std::vector<std::string> kTimeZoneChoices = {"禁止开门",    "时段2可开门", "时段3可开门",
                                                   "时段4可开门", "时段5可开门", "时段6可开门",
                                                   "时段7可开门", "时段8可开门"};

CDlgCheckList::CDlgCheckList(const QString& prompt, const std::vector<std::string>& items,
                             unsigned mask, QWidget* parent)
    : QDialog(parent) {
    setObjectName("CDlgCheckList");
    setWindowTitle(prompt);
    list_ = new QListWidget;
    list_->setObjectName("items");
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(items[i]), list_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState((mask >> i) & 1U ? Qt::Checked : Qt::Unchecked);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(prompt));
    layout->addWidget(list_);
    layout->addWidget(okCancelButtons(this));
}

unsigned CDlgCheckList::mask() const {
    unsigned sum = 0;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            sum |= 1U << i;
    return sum;
}

namespace {
unsigned pick(QWidget* parent, const char* prompt, const std::vector<std::string>& items,
              unsigned mask) {
    CDlgCheckList dlg(QString::fromUtf8(prompt), items, mask, parent);
    return dlg.exec() == QDialog::Accepted ? dlg.mask() : mask;
}
} // namespace

unsigned pickReaderMask(QWidget* parent, unsigned mask) {
    return pick(parent, "请选择允许刷卡开门的读头及设备：", kReaderChoices, mask);
}

unsigned pickTimeZoneMask(QWidget* parent, unsigned mask) {
    return pick(parent, "请选择允许刷卡开门的时段（不选择表示随时可开门）：", kTimeZoneChoices,
                mask);
}

} // namespace quorvane::gui
