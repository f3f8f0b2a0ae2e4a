#pragma once
// A list of check boxes whose ticks make a bit mask: item i ticked sets bit i. The rights
// dialog picks its reader and time-zone masks with it.
#include <string>
#include <vector>

#include <QDialog>

class QListWidget;

namespace quorvane::gui {

class CDlgCheckList : public QDialog {
    Q_OBJECT
  public:
    // The items start ticked as the bits of mask say.
    CDlgCheckList(const QString& prompt, const std::vector<std::string>& items, unsigned mask,
                  QWidget* parent = nullptr);

    // The sum of the ticked items' bits.
    unsigned mask() const;
    QListWidget* list() const { return list_; }

  private:
    QListWidget* list_;
};

// The mask after the person ticked in "请选择允许刷卡开门的读头及设备：" (Cancel: as it was), with
// the four serial devices and the four Wiegand readers.
unsigned pickReaderMask(QWidget* parent, unsigned mask);
// "请选择允许刷卡开门的时段（不选择表示随时可开门）：" with "禁止开门" and zones 2..8.
unsigned pickTimeZoneMask(QWidget* parent, unsigned mask);

extern const std::vector<std::string> kReaderChoices;
extern const std::vector<std::string> kTimeZoneChoices;

} // namespace quorvane::gui
