#pragma once
// The password box of the start-up gate and of "修改密码".
#include <optional>
#include <string>

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace quorvane {
class Settings;
}

namespace quorvane::gui {

class CDlgPassword : public QDialog {
    Q_OBJECT
  public:
    CDlgPassword(QWidget* parent, const QString& prompt, bool offerRemember);

    std::string password() const;
    bool remember() const;

  private:
    QLineEdit* password_;
    QCheckBox* remember_;
};

// The start-up gate: passes at once when the remember marker matches, else asks. False when
// the person cancels or types a wrong password (the program then ends without a message).
bool runStartGate(QWidget* parent, const Settings& settings);

// Asks for a new password twice. Nothing when either prompt is cancelled, else the message to
// show ("操作成功！" or "两次输入的密码不一致！").
std::optional<std::string> askNewStartPassword(QWidget* parent, const Settings& settings);

} // namespace quorvane::gui
