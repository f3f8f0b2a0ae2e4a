#pragma once
// "通行时段配置": time zones 1..8 of a door-access block.
#include "dialogs/dlg_config_part.h"

namespace quorvane::gui {

class CDlgConfigTimezone : public CDlgConfigPart {
    Q_OBJECT
  public:
    // doorBlock: the 424-byte door-access block being edited.
    explicit CDlgConfigTimezone(MutableBytes doorBlock, QWidget* parent = nullptr);
};

} // namespace quorvane::gui
