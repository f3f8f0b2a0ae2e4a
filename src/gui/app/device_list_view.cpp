#include "app/device_list_view.h"

#include <algorithm>
#include <iterator>

#include <QHeaderView>
#include <QTreeWidget>

#include "infra/codepage.h"
#include "session/device_list.h"

namespace quorvane::gui {
namespace {
constexpr int kRecordRole = Qt::UserRole;

// A row compares by the text of the column being sorted, byte by byte.
class DeviceRow : public QTreeWidgetItem {
  public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return columnTextLess(text(column).toStdString(), other.text(column).toStdString());
    }
};
} // namespace

bool columnTextLess(const std::string& a, const std::string& b) {
    // std::string compares through char_traits<char>, which orders as unsigned characters.
    return toGbk(a) < toGbk(b);
}

DeviceListView::DeviceListView(QTreeWidget* list, QObject* parent) : QObject(parent), list_(list) {
    connect(list_->header(), &QHeaderView::sectionClicked, this,
            &DeviceListView::OnHdnItemclickZ1List);
}

void DeviceListView::clear() {
    list_->clear();
    records_.clear();
}

std::vector<const DeviceUIInfo*> DeviceListView::fill(const std::vector<DeviceUIInfo>& records,
                                                      const std::string& filter) {
    clear();
    std::copy_if(records.begin(), records.end(), std::back_inserter(records_),
                 [&](const DeviceUIInfo& r) { return checkFilter(filter, r); });
    std::vector<const DeviceUIInfo*> shown;
    QList<QTreeWidgetItem*> items;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        QStringList texts;
        for (const auto& t : deviceListColumns(records_[i]))
            texts << QString::fromStdString(t);
        auto* item = new DeviceRow(texts);
        item->setData(0, kRecordRole, static_cast<int>(i));
        items << item;
        shown.push_back(&records_[i]);
    }
    list_->addTopLevelItems(items);
    return shown;
}

void DeviceListView::OnHdnItemclickZ1List(int column) {
    ascending_ = !ascending_;
    SortItems(column, ascending_);
}

// The rows move in place, so the selected row stays selected (and the operation buttons stay
// as they are). Rows of equal text keep their order.
void DeviceListView::SortItems(int column, bool ascending) {
    const Qt::SortOrder order = ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
    list_->sortItems(column, order);
    // The header shows which column the rows are in order of, and which way.
    list_->header()->setSortIndicatorShown(true);
    list_->header()->setSortIndicator(column, order);
}

std::optional<DeviceUIInfo> DeviceListView::selected() const {
    const auto items = list_->selectedItems();
    if (items.isEmpty())
        return std::nullopt;
    int index = items.front()->data(0, kRecordRole).toInt();
    if (index < 0 || index >= static_cast<int>(records_.size()))
        return std::nullopt;
    return records_[static_cast<std::size_t>(index)];
}

bool DeviceListView::replaceRecord(const DeviceUIInfo& before, const DeviceUIInfo& after) {
    auto it = std::find(records_.begin(), records_.end(), before);
    if (it == records_.end())
        return false;
    *it = after;
    const int index = static_cast<int>(it - records_.begin());
    const auto texts = deviceListColumns(after);
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list_->topLevelItem(row);
        if (item->data(0, kRecordRole).toInt() != index)
            continue;
        for (std::size_t c = 0; c < texts.size(); ++c)
            item->setText(static_cast<int>(c), QString::fromStdString(texts[c]));
    }
    return true;
}

void DeviceListView::replaceSelected(const DeviceUIInfo& record) {
    const auto items = list_->selectedItems();
    if (items.isEmpty())
        return;
    int index = items.front()->data(0, kRecordRole).toInt();
    if (index >= 0 && index < static_cast<int>(records_.size()))
        records_[static_cast<std::size_t>(index)] = record;
}

int DeviceListView::rowCount() const {
    return list_->topLevelItemCount();
}

std::string DeviceListView::cellText(int row, int column) const {
    QTreeWidgetItem* item = list_->topLevelItem(row);
    return item ? item->text(column).toStdString() : std::string();
}

} // namespace quorvane::gui
