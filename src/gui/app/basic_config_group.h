#pragma once
// The basic configuration area ("１.设备基本配置"): the selected device's fields and the
// record file buttons "1" and "2" (the MAC and IP allocation buttons are remote commands').
#include "app/window_group.h"

namespace quorvane::gui {

class BasicConfigGroup : public WindowGroup {
    Q_OBJECT
  public:
    explicit BasicConfigGroup(WindowContext& ctx);

  signals:
    // A record file was read and appended to the device list.
    void recordLoaded();

  public slots:
    // Shows a selected record in the fields; nullptr empties them.
    void showRecord(const DeviceUIInfo* record);
    void OnBnClickedZ1Saverec();
    void OnBnClickedZ1Loadrec();
};

} // namespace quorvane::gui
