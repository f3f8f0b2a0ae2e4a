#pragma once
// "PPPOE拨号账户名称及密码": the dial-up account and password kept in the selected record until
// the configuration is saved.
#include <QDialog>

#include "remote/network_identity.h"

class QLineEdit;

namespace quorvane::gui {

class CDlgPppoe : public QDialog {
    Q_OBJECT
  public:
    explicit CDlgPppoe(const PppoeAccount& current, QWidget* parent = nullptr);

    // What the person typed (the record keeps at most 32 and 10 bytes of it).
    PppoeAccount typed() const;

  private:
    QLineEdit* account_;
    QLineEdit* password_;
};

} // namespace quorvane::gui
