#pragma once
// "刷卡扣费设备信息": the setting area of a serial port that drives a card-payment terminal. It
// keeps the layout of a display device's setting: byte 0 the direction, byte 3 the door (relay)
// opened after a successful charge, 0 for none; the other bytes stay as they are.
#include "dialogs/dlg_config_part.h"

namespace quorvane::gui {

class CDlgConfigCardFee : public CDlgConfigPart {
    Q_OBJECT
  public:
    // setting: the port's 28-byte setting area.
    explicit CDlgConfigCardFee(MutableBytes setting, QWidget* parent = nullptr);
};

} // namespace quorvane::gui
