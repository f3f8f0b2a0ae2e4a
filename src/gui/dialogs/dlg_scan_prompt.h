#pragma once
// "自定义刷卡提示音播放配置": the 16 swipe prompt slots, each with its condition (from the
// offered list) and a free description; OK takes them.
#include <array>

#include <QDialog>

#include "transfer/scan_prompts.h"

class QComboBox;
class QLineEdit;

namespace quorvane::gui {

class CDlgScanPrompt : public QDialog {
    Q_OBJECT
  public:
    CDlgScanPrompt(const std::vector<std::string>& options, const ScanPrompts& initial,
                   QWidget* parent = nullptr);

    // The slots as the person left them.
    ScanPrompts prompts() const;
    QComboBox* condition(int slot) const { return conditions_.at(static_cast<std::size_t>(slot)); }

  private:
    std::array<QComboBox*, kScanPromptSlots> conditions_{};
    std::array<QLineEdit*, kScanPromptSlots> descriptions_{};
};

} // namespace quorvane::gui
