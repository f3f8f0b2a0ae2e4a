#pragma once
// How the main window is organised: one handler object per area of the window (search, device
// list, basic configuration, logs, host service, the tool's own settings; later configuration,
// remote commands, rights...). CQuorvaneDlg only creates them and wires them together.
//
// An area object
//  - derives from WindowGroup and is constructed from the WindowContext;
//  - connects its own controls to its handlers in its constructor (handlers keep the names
//    OnBnClicked..., OnEnChange...; each reads its controls, calls the core operation and shows
//    the outcome through ctx.port);
//  - tells other areas what happened through Qt signals (searchStarted, deviceSelected...);
//    CQuorvaneDlg connects those signals to the slots of the areas that care.
// To add an area: write the class beside the others, construct it in CQuorvaneDlg's
// constructor, and connect its signals there.
#include <optional>

#include <QObject>

#include "model/device_info.h"

class QWidget;

namespace quorvane {
class ToolSession;
}

namespace quorvane::gui {

class DeviceListView;
class OperationControls;
class QtUserPort;
struct MainWindowControls;

// What every area may use. All of it lives as long as the window.
struct WindowContext {
    ToolSession& session;
    QtUserPort& port;
    const MainWindowControls& c;
    QWidget* window;               // parent of the area's dialogs
    DeviceListView& list;          // the rows and the selected record
    OperationControls& operations; // enableButton's rules
};

class WindowGroup : public QObject {
    Q_OBJECT
  public:
    // The window owns its areas and ends them before its controls.
    explicit WindowGroup(WindowContext& ctx) : ctx_(ctx) {}

  protected:
    // The record of the selected row, or nothing.
    std::optional<DeviceUIInfo> selected() const;

    WindowContext& ctx_;
};

} // namespace quorvane::gui
