#pragma once
// The window's operation controls as one switch: enableButton's rules applied to every control,
// and the controls whose operation this build does not have yet, which stay disabled and say
// so in their tooltip.
#include <unordered_set>

#include "model/device_info.h"

class QWidget;

namespace quorvane {
class Settings;
}

namespace quorvane::gui {

struct MainWindowControls;

// The tooltip line of a control whose operation is not available yet.
inline constexpr const char* kNotAvailableYet = "此功能尚未提供。";

class OperationControls {
  public:
    OperationControls(const MainWindowControls& controls, const Settings& settings);

    // Adds kNotAvailableYet to the tooltips of the pending controls (after the tooltips are
    // registered).
    void notePendingInTooltips();
    // Every operation control enabled exactly when its rule allows it for the record (nullptr
    // with enabled false: all disabled).
    void enable(bool enabled, const DeviceUIInfo* record);
    // True for a control whose operation this build does not have yet.
    bool isPending(const QWidget* control) const {
        return pending_.count(const_cast<QWidget*>(control)) > 0;
    }
    // An area that brings a pending control's operation takes it off the pending list.
    void provide(QWidget* control);

  private:
    const MainWindowControls& c_;
    const Settings& settings_;
    std::unordered_set<QWidget*> pending_;
};

} // namespace quorvane::gui
