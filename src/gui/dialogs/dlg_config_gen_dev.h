#pragma once
// "设备配置": the setting area of a serial port that drives a display device (direction, the
// reader and relay it belongs to, and the title it shows).
#include "dialogs/dlg_config_part.h"

namespace quorvane::gui {

class CDlgConfigGenDev : public CDlgConfigPart {
    Q_OBJECT
  public:
    // setting: the port's 28-byte setting area.
    explicit CDlgConfigGenDev(MutableBytes setting, QWidget* parent = nullptr);
};

} // namespace quorvane::gui
