#pragma once
// The log retrieval area ("３.从控制器提取日志数据"): where a fetch starts and how many records it
// takes. The fetch operations join this area when they are built.
#include "app/window_group.h"

namespace quorvane::gui {

class LogGroup : public WindowGroup {
    Q_OBJECT
  public:
    explicit LogGroup(WindowContext& ctx);

    void readInitialValues();

  public slots:
    // A selected device: the fetch starts at its last records (log count - fetch count + 1,
    // at least 1).
    void showLogStart(const DeviceUIInfo* record);
    void OnEnChangeLogCount();
};

} // namespace quorvane::gui
