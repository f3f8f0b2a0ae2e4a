#include "dialogs/dlg_option_ini.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/option_editors.h"
#include "session/user_port.h"

namespace quorvane::gui {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

constexpr int kRowRole = Qt::UserRole;

} // namespace

CDlgOptionINI::CDlgOptionINI(const Settings& settings, UserPort& port, QWidget* parent)
    : QDialog(parent), settings_(settings), port_(port), groups_(readOptionsSchema(settings)) {
    setObjectName("CDlgOptionINI");
    setWindowTitle(QString::fromUtf8("配置选项"));
    resize(640, 520);

    grid_ = new QTreeWidget;
    grid_->setObjectName("grid");
    grid_->setColumnCount(2);
    grid_->setHeaderLabels({"Property", "Value"});
    grid_->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    grid_->setColumnWidth(0, 220);
    grid_->setAlternatingRowColors(true);
    description_ = new QLabel;
    description_->setObjectName("description");
    description_->setWordWrap(true);
    description_->setMinimumHeight(48);
    description_->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    for (auto& group : groups_) {
        auto* groupItem = new QTreeWidgetItem(grid_, {q(group.section)});
        groupItem->setFirstColumnSpanned(true);
        QFont bold = groupItem->font(0);
        bold.setBold(true);
        groupItem->setFont(0, bold);
        for (auto& row : group.rows) {
            auto* item = new QTreeWidgetItem(groupItem, {q(row.displayName())});
            item->setData(0, kRowRole, QVariant::fromValue<void*>(&row));
            item->setToolTip(0, q(row.key));
            grid_->setItemWidget(item, 1, makeEditor(row));
        }
    }
    grid_->expandAll();
    connect(grid_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showDescription(item); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("保存(&S)"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgOptionINI::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* v = new QVBoxLayout(this);
    v->addWidget(grid_, 1);
    v->addWidget(description_);
    v->addWidget(buttons);
}

QWidget* CDlgOptionINI::makeEditor(OptionRow& row) {
    QWidget* editor = makeOptionEditor(
        row.type, q(row.value), [&row](const QString& text) { row.edited = text.toStdString(); });
    editor->setObjectName(q(row.section + "$" + row.key));
    return editor;
}

QWidget* CDlgOptionINI::editorFor(const QString& section, const QString& key) const {
    return grid_->findChild<QWidget*>(section + "$" + key);
}

void CDlgOptionINI::showDescription(QTreeWidgetItem* item) {
    auto* row = item ? static_cast<OptionRow*>(item->data(0, kRowRole).value<void*>()) : nullptr;
    description_->setText(row ? q(row->displayName()) + "\n" + q(row->desc) : QString());
}

void CDlgOptionINI::save() {
    // A number outside its row's range is refused before anything is written.
    for (const auto& group : groups_)
        for (const auto& row : group.rows)
            if (row.changed())
                if (auto problem = integerRowProblem(row)) {
                    port_.showMessage(problem->toStdString());
                    return;
                }
    OptionWriteResult result = writeChangedOptions(settings_, groups_);
    if (!result.ok) {
        port_.showMessage("保存失败！");
        return;
    }
    port_.showMessage("操作成功！");
    accept();
}

} // namespace quorvane::gui
