#include "dialogs/config_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "dialogs/field_bindings.h"

namespace quorvane::gui {

QComboBox* listBox(const QString& name, const std::vector<std::string>& texts) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    for (const auto& t : texts)
        box->addItem(QString::fromStdString(t));
    return box;
}

QComboBox* listBox(const QString& name, const std::vector<std::string_view>& texts) {
    return listBox(name, std::vector<std::string>(texts.begin(), texts.end()));
}

QLineEdit* numberEdit(const QString& name, int width) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setMaximumWidth(width);
    return edit;
}

QLabel* helpText(const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text));
    label->setWordWrap(true);
    return label;
}

QDialogButtonBox* okCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("取消"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

std::array<QCheckBox*, 7> weekdayBoxes(const QString& prefix, QGridLayout* grid, int row,
                                       int column) {
    static const char* const kNames[] = {"周一", "周二", "周三", "周四", "周五", "周六", "周日"};
    std::array<QCheckBox*, 7> days{};
    for (int i = 0; i < 7; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(kNames[i]));
        box->setObjectName(prefix + "Day" + QString::number(i + 1));
        grid->addWidget(box, row, column + i);
        days[static_cast<std::size_t>(i)] = box;
    }
    return days;
}

void showConfigMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, parent ? parent->windowTitle() : QString(), text);
}

void showProblem(QWidget* parent, const BindingProblem& problem) {
    showConfigMessage(parent, problem.message);
    if (problem.widget)
        problem.widget->setFocus();
}

} // namespace quorvane::gui
