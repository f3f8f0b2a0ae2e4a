#include "dialogs/dlg_pppoe.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace quorvane::gui {

namespace {
constexpr int kAccountChars = 32;
constexpr int kPasswordChars = 10;
} // namespace

CDlgPppoe::CDlgPppoe(const PppoeAccount& current, QWidget* parent) : QDialog(parent) {
    setObjectName("CDlgPppoe");
    setWindowTitle(QString::fromUtf8("PPPOE拨号账户名称及密码"));
    account_ = new QLineEdit(QString::fromStdString(current.account));
    account_->setObjectName("account");
    account_->setMaxLength(kAccountChars);
    password_ = new QLineEdit(QString::fromStdString(current.password));
    password_->setObjectName("password");
    password_->setMaxLength(kPasswordChars);
    auto* form = new QFormLayout(this);
    form->addRow(QString::fromUtf8("拨号账号："), account_);
    form->addRow(QString::fromUtf8("账号密码："), password_);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QString::fromUtf8("保存"), QDialogButtonBox::AcceptRole)
        ->setObjectName("save");
    buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

PppoeAccount CDlgPppoe::typed() const {
    return {account_->text().toStdString(), password_->text().toStdString()};
}

} // namespace quorvane::gui
