#pragma once
// "修改485读头标志": the factory serial of a reader on the RS-485 bus, its new flag and the
// serial port of this computer the bus hangs on. The dialog stays open, so that one reader after
// another can be set.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quorvane {
class Settings;
class UserPort;
} // namespace quorvane

namespace quorvane::gui {

// The ports offered: COM1 .. COM32 (list index + 1 is the port number).
inline constexpr int kOfferedComPorts = 32;

class CDlgSet485ID : public QDialog {
    Q_OBJECT
  public:
    CDlgSet485ID(const Settings& settings, UserPort& port, QWidget* parent = nullptr);

    QLineEdit* serial() const { return serial_; }
    QSpinBox* flag() const { return flag_; }
    QComboBox* comPort() const { return com_; }
    QPushButton* setButton() const { return set_; }

  public slots:
    // Sends the line to the reader and shows how it went (the window keeps drawing meanwhile).
    void OnBnClickedOk();

  private:
    const Settings& settings_;
    UserPort& port_;
    QLineEdit* serial_;
    QSpinBox* flag_;
    QComboBox* com_;
    QPushButton* set_;
};

} // namespace quorvane::gui
