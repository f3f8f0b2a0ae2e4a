#pragma once
// The text-command area of the main window: "文本指令" (and the context menu's "发送文本指令")
// runs the batch dialog and then sends to its targets; the "常用配置" presets; "指纹" uploads a
// fingerprint template.
#include "app/window_group.h"

namespace quorvane::gui {

struct DeviceListMenuActions;

class TextHandlers : public WindowGroup {
    Q_OBJECT
  public:
    explicit TextHandlers(WindowContext& ctx);
    void addMenuActions(DeviceListMenuActions& actions);

  public slots:
    void OnBnClickedTextCmd();
    void OnBnClickedTextCmd1();
    void OnBnClickedTextCmd2();
    void OnBnClickedTextCmd3();
    void OnBnClickedFinger();

  private:
    bool running_ = false;
};

} // namespace quorvane::gui
