#include "dialogs/dlg_test_flag.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "remote/remote_choices.h"

namespace quorvane::gui {

CDlgTestFlag::CDlgTestFlag(QWidget* parent) : QDialog(parent) {
    setObjectName("CDlgTestFlag");
    setWindowTitle(QString::fromUtf8("设备测试"));
    auto* v = new QVBoxLayout(this);
    for (const TestFlag& f : kTestFlags) {
        auto* b = new QCheckBox(QString::fromUtf8(f.caption));
        b->setObjectName(QString("bit%1").arg(f.bit));
        boxes_.emplace_back(f.bit, b);
        v->addWidget(b);
    }
    auto* buttons = new QDialogButtonBox;
    start_ = buttons->addButton(QString::fromUtf8("开始测试(&T)"), QDialogButtonBox::AcceptRole);
    start_->setObjectName("start");
    buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(buttons);
}

std::uint32_t CDlgTestFlag::flags() const {
    std::uint32_t word = 0;
    for (const auto& [bit, b] : boxes_)
        if (b->isChecked())
            word |= 1u << bit;
    return word;
}

QCheckBox* CDlgTestFlag::box(int bit) const {
    for (const auto& [b, checkBox] : boxes_)
        if (b == bit)
            return checkBox;
    return nullptr;
}

} // namespace quorvane::gui
