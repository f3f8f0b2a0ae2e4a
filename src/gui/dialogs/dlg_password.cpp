#include "dialogs/dlg_password.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include "session/start_gate.h"

namespace quorvane::gui {

CDlgPassword::CDlgPassword(QWidget* parent, const QString& prompt, bool offerRemember)
    : QDialog(parent) {
    setObjectName("CDlgPassword");
    setWindowTitle(QString::fromUtf8("请输入密码（默认密码为720418）"));
    auto* promptLabel = new QLabel(prompt);
    password_ = new QLineEdit;
    password_->setObjectName("password");
    password_->setEchoMode(QLineEdit::Password);
    promptLabel->setBuddy(password_);
    remember_ = new QCheckBox(QString::fromUtf8("记住并不再提示"));
    remember_->setObjectName("remember");
    remember_->setVisible(offerRemember);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* v = new QVBoxLayout(this);
    v->addWidget(promptLabel);
    v->addWidget(password_);
    v->addWidget(remember_);
    v->addWidget(buttons);
}

std::string CDlgPassword::password() const {
    return password_->text().toStdString();
}

bool CDlgPassword::remember() const {
    return remember_->isChecked();
}

bool runStartGate(QWidget* parent, const Settings& settings) {
    // A settings file that cannot be read would otherwise look like a forgotten password.
    if (auto problem = settings.fileProblem())
        QMessageBox::warning(parent, QString::fromUtf8("系统"), QString::fromStdString(*problem));
    if (startGateRemembered(settings))
        return true;
    CDlgPassword dlg(parent, QString::fromUtf8("请输入保护密码："), true);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    return startGateCheckPassword(settings, dlg.password(), dlg.remember());
}

std::optional<std::string> askNewStartPassword(QWidget* parent, const Settings& settings) {
    CDlgPassword first(parent, QString::fromUtf8("请输入新的保护密码："), false);
    if (first.exec() != QDialog::Accepted)
        return std::nullopt;
    CDlgPassword second(parent, QString::fromUtf8("再次输入新密码："), false);
    if (second.exec() != QDialog::Accepted)
        return std::nullopt;
    return changeStartPassword(settings, first.password(), second.password());
}

} // namespace quorvane::gui
