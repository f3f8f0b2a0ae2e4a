#pragma once
// The rows of the device list control: one per listed record that passes the filter, each row
// keeping its record. Header clicks sort the rows (not the device list) by the column's text,
// byte by byte, flipping the direction at every click.
#include <optional>
#include <string>
#include <vector>

#include <QObject>

#include "model/device_info.h"

class QTreeWidget;

namespace quorvane::gui {

class DeviceListView : public QObject {
    Q_OBJECT
  public:
    explicit DeviceListView(QTreeWidget* list, QObject* parent = nullptr);

    void clear();
    // Replaces the rows with the records that pass the filter, in list order; returns them.
    std::vector<const DeviceUIInfo*> fill(const std::vector<DeviceUIInfo>& records,
                                          const std::string& filter);
    // Sorts by a column's text; ascending is the direction the flag says after flipping it.
    void OnHdnItemclickZ1List(int column);
    void SortItems(int column, bool ascending);
    bool ascending() const { return ascending_; }

    // The record of the selected row, or nothing.
    std::optional<DeviceUIInfo> selected() const;
    // Keeps an edited record for the selected row (its texts do not change).
    void replaceSelected(const DeviceUIInfo& record);
    int rowCount() const;
    std::string cellText(int row, int column) const;

  private:
    QTreeWidget* list_;
    std::vector<DeviceUIInfo> records_; // what the rows show; a row keeps its index
    bool ascending_ = false;
};

// Plain string order of the GBK bytes, as unsigned characters.
bool columnTextLess(const std::string& a, const std::string& b);

} // namespace quorvane::gui
