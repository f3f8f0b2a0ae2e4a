#pragma once
// "定时任务配置": the timer-task byte of a door-access block (run condition, task, restart).
#include "dialogs/dlg_config_part.h"

namespace quorvane::gui {

class CDlgConfigTimerTask : public CDlgConfigPart {
    Q_OBJECT
  public:
    // doorBlock: the 424-byte door-access block being edited.
    explicit CDlgConfigTimerTask(MutableBytes doorBlock, QWidget* parent = nullptr);
};

} // namespace quorvane::gui
