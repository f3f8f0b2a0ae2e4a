#pragma once
// "韦根配置（读头5-8表示设备上的4个韦根读头）": four buttons, each opening the reader dialog on
// one Wiegand reader's setting.
#include "dialogs/dlg_config_part.h"

namespace quorvane::gui {

class CDlgConfigWG : public CDlgConfigPart {
    Q_OBJECT
  public:
    // doorBlock: the 424-byte door-access block being edited.
    explicit CDlgConfigWG(MutableBytes doorBlock, QWidget* parent = nullptr);

  private:
    // wiegand: 0..3, readers 5..8.
    void OnBnClickedWiegand(int wiegand);
};

} // namespace quorvane::gui
