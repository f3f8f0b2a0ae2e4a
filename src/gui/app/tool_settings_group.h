#pragma once
// The tool's own settings: the options editor ("配置选项(&O)") and the start-up password
// ("修改密码").
#include "app/window_group.h"

namespace quorvane::gui {

class ToolSettingsGroup : public WindowGroup {
    Q_OBJECT
  public:
    explicit ToolSettingsGroup(WindowContext& ctx);

  public slots:
    void OnBnClickedServiceConfig();
    void OnBnClickedChangePass();
};

} // namespace quorvane::gui
