#pragma once
// The device list area: drawing the rows (at once or half a second after the last reply), the
// filter, the selection and the context menu.
#include <QTimer>

#include "app/device_list_menu.h"
#include "app/window_group.h"

namespace quorvane::gui {

class DeviceListGroup : public WindowGroup {
    Q_OBJECT
  public:
    explicit DeviceListGroup(WindowContext& ctx);

    // The timer of the delayed redraw (timer 2).
    QTimer& listTimer() { return listTimer_; }

  signals:
    // A row became selected (record) or the selection was cleared (nullptr).
    void deviceSelected(const DeviceUIInfo* record);

  public slots:
    // Redraws the rows from the device list (skipped while the list is busy).
    void showList();
    // A search reply changed the device list.
    void onListChanged();
    // A new search: the rows go.
    void clear();
    void OnEnChangeFilter();
    void OnLvnItemchangedList();
    void OnNMRClickZ1List(const QPoint& at);
    // What the context menu's items run (set by the window once the areas exist).
    void setMenuActions(DeviceListMenuActions actions) { menuActions_ = std::move(actions); }

  private:
    DeviceListMenuActions menuActions_;
    void writeFactoryLists(const std::vector<const DeviceUIInfo*>& shown);

    QTimer listTimer_;
    bool showListByTimer_ = true;
};

} // namespace quorvane::gui
