#pragma once
// "读头配置": one 28-byte reader setting (a serial port's setting area or a Wiegand reader).
#include "dialogs/dlg_config_part.h"

namespace quorvane::gui {

class CDlgConfigReader : public CDlgConfigPart {
    Q_OBJECT
  public:
    // setting: the 28 bytes of one reader; title: the window's caption.
    CDlgConfigReader(MutableBytes setting, const QString& title, QWidget* parent = nullptr);
};

} // namespace quorvane::gui
