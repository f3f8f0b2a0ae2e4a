#pragma once
// "控制板间复制": the person picks the controller whose door-access configuration is copied
// (the source list) and the controllers it is copied to (the target list), from all listed
// controllers. The copy itself runs after OK.
#include <vector>

#include <QDialog>

#include "model/device_info.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace quorvane::gui {

class CDlgConfigCopy : public QDialog {
    Q_OBJECT
  public:
    explicit CDlgConfigCopy(std::vector<DeviceUIInfo> controllers, QWidget* parent = nullptr);

    // After OK: the source (the first of the source list) and the targets in list order.
    const DeviceUIInfo& source() const;
    // Every controller of the source list, in list order (a rights copy reads from each).
    std::vector<DeviceUIInfo> sources() const;
    std::vector<DeviceUIInfo> targets() const;

    QTreeWidget* allList() const { return all_; }
    QTreeWidget* sourceList() const { return sources_; }
    QTreeWidget* targetList() const { return targets_; }

  public slots:
    void OnBnClickedAddSource();
    void OnBnClickedAddTarget();
    void OnBnClickedRemoveSource();
    void OnBnClickedRemoveTarget();
    void accept() override;

  private:
    std::vector<DeviceUIInfo> chosen(const QTreeWidget* list) const;
    // Adds the selected controllers of the all-controllers list that list does not hold yet.
    void addSelected(QTreeWidget* list);
    void removeSelected(QTreeWidget* list);
    std::vector<int> indexes(const QTreeWidget* list) const;

    std::vector<DeviceUIInfo> controllers_;
    QTreeWidget* all_;
    QTreeWidget* sources_;
    QTreeWidget* targets_;
};

} // namespace quorvane::gui
