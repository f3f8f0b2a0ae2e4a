#pragma once
// "继电器配置": relays 1..4 of a door-access block.
#include "dialogs/dlg_config_part.h"

class QLineEdit;

namespace quorvane::gui {

class CDlgConfigRelayer : public CDlgConfigPart {
    Q_OBJECT
  public:
    // doorBlock: the 424-byte door-access block being edited.
    explicit CDlgConfigRelayer(MutableBytes doorBlock, QWidget* parent = nullptr);

  protected:
    std::optional<BindingProblem> check() override;

  private:
    QLineEdit* openTimes_[4] = {};
};

} // namespace quorvane::gui
