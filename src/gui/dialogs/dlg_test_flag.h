#pragma once
// "设备测试": one box per test action of the controller; "开始测试(&T)" starts the ticked ones.
#include <cstdint>
#include <utility>
#include <vector>

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace quorvane::gui {

class CDlgTestFlag : public QDialog {
    Q_OBJECT
  public:
    explicit CDlgTestFlag(QWidget* parent = nullptr);

    // The test flag word: each ticked box's bit set, starting from 0.
    std::uint32_t flags() const;
    // The box of a bit (nullptr for a bit without one).
    QCheckBox* box(int bit) const;
    QPushButton* startButton() const { return start_; }

  private:
    std::vector<std::pair<int, QCheckBox*>> boxes_;
    QPushButton* start_;
};

} // namespace quorvane::gui
