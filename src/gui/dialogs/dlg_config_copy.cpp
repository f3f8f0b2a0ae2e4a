#include "dialogs/dlg_config_copy.h"

#include <algorithm>
#include <iterator>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "session/device_list.h"

namespace quorvane::gui {
namespace {

constexpr int kIndexRole = Qt::UserRole;

QString q(const char* text) {
    return QString::fromUtf8(text);
}

QTreeWidget* controllerList(const char* name, QAbstractItemView::SelectionMode mode) {
    auto* list = new QTreeWidget;
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setSelectionMode(mode);
    list->setHeaderLabels({q("设备标志"), q("设备名称"), q("设备IP地址")});
    list->setColumnWidth(0, 60);
    list->setColumnWidth(1, 110);
    list->setMinimumWidth(280);
    return list;
}

QTreeWidgetItem* row(const DeviceUIInfo& r, int index) {
    auto* item = new QTreeWidgetItem(QStringList{QString::fromStdString(deviceFlagText(r)),
                                                 QString::fromStdString(r.name),
                                                 QString::fromStdString(r.ip)});
    item->setData(0, kIndexRole, index);
    return item;
}

QPushButton* button(const char* caption, const char* name) {
    auto* b = new QPushButton(q(caption));
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

CDlgConfigCopy::CDlgConfigCopy(std::vector<DeviceUIInfo> controllers, QWidget* parent)
    : QDialog(parent), controllers_(std::move(controllers)) {
    setObjectName("CDlgConfigCopy");
    setWindowTitle(q("控制板间复制"));
    all_ = controllerList("allList", QAbstractItemView::ExtendedSelection);
    sources_ = controllerList("sourceList", QAbstractItemView::ExtendedSelection);
    targets_ = controllerList("targetList", QAbstractItemView::ExtendedSelection);
    // A copy often goes to a whole site: ten targets show without scrolling.
    const int rowHeight = targets_->fontMetrics().height() + 6;
    targets_->setMinimumHeight(targets_->header()->sizeHint().height() + 10 * rowHeight +
                               2 * targets_->frameWidth());
    for (std::size_t i = 0; i < controllers_.size(); ++i)
        all_->addTopLevelItem(row(controllers_[i], static_cast<int>(i)));

    auto* addSource = button("添加到来源板列表>>", "addSource");
    auto* addTarget = button("添加到目标板列表>>", "addTarget");
    auto* removeSource = button("从来源板列表删除<<", "removeSource");
    auto* removeTarget = button("从目标板列表删除<<", "removeTarget");
    connect(addSource, &QPushButton::clicked, this, &CDlgConfigCopy::OnBnClickedAddSource);
    connect(addTarget, &QPushButton::clicked, this, &CDlgConfigCopy::OnBnClickedAddTarget);
    connect(removeSource, &QPushButton::clicked, this, &CDlgConfigCopy::OnBnClickedRemoveSource);
    connect(removeTarget, &QPushButton::clicked, this, &CDlgConfigCopy::OnBnClickedRemoveTarget);
    connect(all_, &QTreeWidget::itemDoubleClicked, this, &CDlgConfigCopy::OnBnClickedAddTarget);
    connect(sources_, &QTreeWidget::itemDoubleClicked, this,
            &CDlgConfigCopy::OnBnClickedRemoveSource);
    connect(targets_, &QTreeWidget::itemDoubleClicked, this,
            &CDlgConfigCopy::OnBnClickedRemoveTarget);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgConfigCopy::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(q("所有控制板：")), 0, 0);
    grid->addWidget(all_, 1, 0, 4, 1);
    grid->addWidget(new QLabel(q("来源板列表：")), 0, 2);
    grid->addWidget(addSource, 1, 1);
    grid->addWidget(removeSource, 2, 1);
    grid->addWidget(sources_, 1, 2, 2, 1);
    grid->addWidget(new QLabel(q("目标板列表：")), 3, 2);
    grid->addWidget(addTarget, 4, 1);
    grid->addWidget(removeTarget, 5, 1);
    grid->addWidget(targets_, 4, 2, 2, 1);
    auto* v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addWidget(buttons);
}

void CDlgConfigCopy::addSelected(QTreeWidget* list) {
    const std::vector<int> held = indexes(list);
    for (QTreeWidgetItem* item : all_->selectedItems()) {
        const int index = item->data(0, kIndexRole).toInt();
        if (std::find(held.begin(), held.end(), index) == held.end())
            list->addTopLevelItem(row(controllers_[static_cast<std::size_t>(index)], index));
    }
}

void CDlgConfigCopy::removeSelected(QTreeWidget* list) {
    qDeleteAll(list->selectedItems());
}

std::vector<int> CDlgConfigCopy::indexes(const QTreeWidget* list) const {
    std::vector<int> out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out.push_back(list->topLevelItem(i)->data(0, kIndexRole).toInt());
    return out;
}

void CDlgConfigCopy::OnBnClickedAddSource() {
    addSelected(sources_);
}
void CDlgConfigCopy::OnBnClickedAddTarget() {
    addSelected(targets_);
}
void CDlgConfigCopy::OnBnClickedRemoveSource() {
    removeSelected(sources_);
}
void CDlgConfigCopy::OnBnClickedRemoveTarget() {
    removeSelected(targets_);
}

// A copy needs a controller to copy from and at least one to copy to.
void CDlgConfigCopy::accept() {
    if (sources_->topLevelItemCount() == 0 || targets_->topLevelItemCount() == 0) {
        QMessageBox::information(this, windowTitle(), q("请先添加来源板和目标板！"));
        return;
    }
    QDialog::accept();
}

const DeviceUIInfo& CDlgConfigCopy::source() const {
    return controllers_.at(static_cast<std::size_t>(indexes(sources_).at(0)));
}

std::vector<DeviceUIInfo> CDlgConfigCopy::chosen(const QTreeWidget* list) const {
    const std::vector<int> picked = indexes(list);
    std::vector<DeviceUIInfo> out;
    std::transform(picked.begin(), picked.end(), std::back_inserter(out),
                   [this](int index) { return controllers_[static_cast<std::size_t>(index)]; });
    return out;
}

std::vector<DeviceUIInfo> CDlgConfigCopy::sources() const {
    return chosen(sources_);
}

std::vector<DeviceUIInfo> CDlgConfigCopy::targets() const {
    return chosen(targets_);
}

} // namespace quorvane::gui
