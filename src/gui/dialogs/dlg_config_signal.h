#pragma once
// "信号检测配置": signal inputs 1..8 of a door-access block.
#include "dialogs/dlg_config_part.h"

namespace quorvane::gui {

class CDlgConfigSignal : public CDlgConfigPart {
    Q_OBJECT
  public:
    // doorBlock: the 424-byte door-access block being edited.
    explicit CDlgConfigSignal(MutableBytes doorBlock, QWidget* parent = nullptr);
};

} // namespace quorvane::gui
